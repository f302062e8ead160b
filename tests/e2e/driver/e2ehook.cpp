// e2ehook.dll: runs inside the program under test, on a thread the driver
// starts there, to read a window's system menu, an open popup menu or the
// cursor the program shows.
#include "hook_requests.h"

extern "C" __declspec(dllexport) DWORD WINAPI e2e_read_menu(void* param) {
    auto* request = static_cast<MenuRequest*>(param);
    HMENU menu = request->popup ? request->popup : GetSystemMenu(request->hwnd, FALSE);
    if (!menu || !IsMenu(menu)) {
        request->count = -1;
        return 0;
    }
    int count = GetMenuItemCount(menu);
    int max = static_cast<int>(sizeof request->items / sizeof request->items[0]);
    request->count = count < max ? count : max;
    for (int i = 0; i < request->count; ++i) {
        MenuItemRecord& item = request->items[i];
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = item.text;
        info.cch = sizeof item.text / sizeof item.text[0];
        item.text[0] = 0;
        GetMenuItemInfoW(menu, i, TRUE, &info);
        item.id = info.wID;
        item.type = info.fType;
        item.state = info.fState;
        item.rect = RECT{};
        if (request->popup)
            GetMenuItemRect(nullptr, menu, i, &item.rect);
    }
    return 1;
}

extern "C" __declspec(dllexport) DWORD WINAPI e2e_read_cursor(void* param) {
    auto* request = static_cast<CursorRequest*>(param);
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    // The system's cursors are shared: loading one again gives the handle the
    // program set, whichever character set it asked with.
    request->wait = GetCursorInfo(&info) && info.hCursor == LoadCursorW(nullptr, IDC_WAIT);
    return 1;
}
