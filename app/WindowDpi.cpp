#include "app/WindowDpi.h"

#include "app/WindowLayout.h"

namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);

// Looked up, not imported: Windows 7 and 8 have no such function, and a program importing it
// would not start there.
GetDpiForWindowCall FindGetDpiForWindow() {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 == nullptr ? nullptr
                             : reinterpret_cast<GetDpiForWindowCall>(reinterpret_cast<void*>(
                                   GetProcAddress(user32, "GetDpiForWindow")));
}

}  // namespace

int DpiOfWindow(HWND window) {
    static const GetDpiForWindowCall getDpiForWindow = FindGetDpiForWindow();
    if (getDpiForWindow != nullptr) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : kBaseDpi;
}
