#include "sysmenu.h"

#include "args.h"
#include "menu_request.h"
#include "remote_memory.h"
#include "window_info.h"

namespace {

constexpr DWORD kRemoteThreadMs = 5000;

// Runs `start(param)` on a new thread inside the remote process and returns the
// thread's exit code. 32-bit on both sides, so a DWORD holds an HMODULE.
DWORD runRemote(HANDLE process, void* start, void* param) {
    HANDLE thread = CreateRemoteThread(
        process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(start), param, 0, nullptr);
    if (!thread)
        throw NotFound("cannot start a thread in the window's process");
    DWORD code = 0;
    bool done = WaitForSingleObject(thread, kRemoteThreadMs) == WAIT_OBJECT_0;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    if (!done)
        throw NotFound("the thread in the window's process did not finish");
    return code;
}

std::wstring hookPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    return dir.substr(0, dir.find_last_of(L'\\') + 1) + L"e2ehook.dll";
}

// Offset of the hook's entry point from its module base; the same in any
// process because it is the same file.
DWORD_PTR entryOffset(const std::wstring& dll) {
    HMODULE local = LoadLibraryExW(dll.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!local)
        throw NotFound("e2ehook.dll is missing beside e2edriver.exe");
    auto entry = reinterpret_cast<DWORD_PTR>(GetProcAddress(local, E2E_READ_MENU));
    if (!entry) {
        FreeLibrary(local);
        throw NotFound("e2ehook.dll does not export " E2E_READ_MENU);
    }
    DWORD_PTR offset = entry - reinterpret_cast<DWORD_PTR>(local);
    FreeLibrary(local);
    return offset;
}

// Has the hook read the menu in the window's process: the popup menu when given,
// else the window's system menu.
std::vector<JsonObject> readMenu(HWND hwnd, HMENU popup) {
    std::wstring dll = hookPath();
    DWORD_PTR offset = entryOffset(dll);
    size_t pathBytes = (dll.size() + 1) * sizeof(wchar_t);
    RemoteMemory memory(windowPid(hwnd), sizeof(MenuRequest) + pathBytes);
    memory.write(sizeof(MenuRequest), dll.c_str(), pathBytes);

    // kernel32 sits at the same address in every process, so our own
    // LoadLibraryW/FreeLibrary addresses are valid over there too.
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    auto loadLibrary = reinterpret_cast<void*>(GetProcAddress(kernel32, "LoadLibraryW"));
    auto freeLibrary = reinterpret_cast<void*>(GetProcAddress(kernel32, "FreeLibrary"));
    DWORD module = runRemote(memory.process(), loadLibrary, memory.at(sizeof(MenuRequest)));
    if (!module)
        throw NotFound("the window's process could not load e2ehook.dll");

    MenuRequest request = {};
    request.hwnd = hwnd;
    request.popup = popup;
    memory.write(0, &request, sizeof request);
    runRemote(memory.process(), reinterpret_cast<void*>(module + offset), memory.at(0));
    runRemote(memory.process(), freeLibrary,
              reinterpret_cast<void*>(static_cast<DWORD_PTR>(module)));
    memory.read(0, &request, sizeof request);
    if (request.count < 0)
        throw NotFound("no such menu in the window's process");

    std::vector<JsonObject> items;
    for (LONG i = 0; i < request.count; ++i) {
        const MenuItemRecord& item = request.items[i];
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
