#include "window_info.h"

#include <vector>

#include "args.h"

std::wstring windowText(HWND hwnd) {
    // WM_GETTEXT rather than GetWindowText: for another process's controls the
    // latter returns only the caption stored at creation, not what an edit
    // control currently holds.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &length))
        return {};
    std::vector<wchar_t> buffer(length + 1);
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                        SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied);
    return std::wstring(buffer.data(), copied);
}

std::wstring className(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

DWORD windowPid(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

std::wstring processImage(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return {};
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    if (!QueryFullProcessImageNameW(process, 0, path, &size))
        size = 0;
    CloseHandle(process);
    return std::wstring(path, size);
}

HWND existingWindow(HWND hwnd) {
    if (!IsWindow(hwnd))
        throw NotFound("no such window");
    return hwnd;
}

JsonObject describeTopLevel(HWND hwnd) {
    RECT r = {};
    GetWindowRect(hwnd, &r);
    // The client area in screen coordinates, so a test can check where controls stand
    // inside it.
    RECT client = {};
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    DWORD pid = windowPid(hwnd);
    JsonObject o;
    o.hwnd("hwnd", hwnd)
        .num("pid", pid)
        .str("class", className(hwnd))
        .str("title", windowText(hwnd))
        .rect("rect", r)
        .rect("client", client)
        .flag("visible", IsWindowVisible(hwnd))
        .flag("enabled", IsWindowEnabled(hwnd))
        .flag("iconic", IsIconic(hwnd))
        .flag("foreground", GetForegroundWindow() == hwnd)
        .hwnd("owner", GetWindow(hwnd, GW_OWNER))
        .str("exe", processImage(pid));
    return o;
}

JsonObject describeControl(HWND hwnd) {
    RECT r = {};
    GetWindowRect(hwnd, &r);
    JsonObject o;
    o.hwnd("hwnd", hwnd)
        .num("id", GetDlgCtrlID(hwnd))
        .str("class", className(hwnd))
        .str("text", windowText(hwnd))
        .rect("rect", r)
        .flag("visible", IsWindowVisible(hwnd))
        .flag("enabled", IsWindowEnabled(hwnd))
        .num("style", static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)))
        .hwnd("parent", GetParent(hwnd));
    return o;
}
