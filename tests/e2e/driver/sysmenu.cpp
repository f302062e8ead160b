#include "sysmenu.h"

#include <memory>

#include "args.h"
#include "hook_requests.h"
#include "remote_hook.h"
#include "window_info.h"

namespace {

// Has the hook read the menu in the window's process: the popup menu when given,
// else the window's system menu.
std::vector<JsonObject> readMenu(HWND hwnd, HMENU popup) {
    // Large: in the driver's heap rather than on its stack.
    auto request = std::make_unique<MenuRequest>();
    request->hwnd = hwnd;
    request->popup = popup;
    callHook(windowPid(hwnd), E2E_READ_MENU, request.get(), sizeof *request);
    if (request->count < 0)
        throw NotFound("no such menu in the window's process");

    std::vector<JsonObject> items;
    for (LONG i = 0; i < request->count; ++i) {
        const MenuItemRecord& item = request->items[i];
        JsonObject o;
        o.num("id", item.id)
            .str("text", item.text)
            .flag("separator", item.type & MFT_SEPARATOR)
            .flag("grayed", item.state & MFS_GRAYED)
            .flag("checked", item.state & MFS_CHECKED);
        if (popup)
            o.rect("rect", item.rect);
        items.push_back(o);
    }
    return items;
}

}  // namespace

std::vector<JsonObject> readSystemMenu(HWND hwnd) {
    return readMenu(hwnd, nullptr);
}

std::vector<JsonObject> readPopupMenu(HWND menuWindow) {
    DWORD_PTR menu = 0;
    if (!SendMessageTimeoutW(menuWindow, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &menu) ||
        !menu)
        throw NotFound("the menu window holds no menu");
    return readMenu(menuWindow, reinterpret_cast<HMENU>(menu));
}
