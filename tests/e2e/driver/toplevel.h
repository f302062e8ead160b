// Finding top-level windows: the program's main dialog, its message boxes,
// the file picker it opens.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "args.h"

struct WindowFilter {
    std::wstring title;  // exact caption
    std::wstring cls;    // exact class name, e.g. #32770 for dialogs and message boxes
    // Executable path, or just its file name; each test runs its own copy of the
    // program from its own folder, so the full path picks out that one process.
    std::wstring exe;
    DWORD pid = 0;
    std::vector<HWND> exclude;  // e.g. the main dialog when waiting for a message box
    bool visibleOnly = false;

    explicit WindowFilter(const Args& args);
    bool matches(HWND hwnd) const;
};

std::vector<HWND> topLevelWindows();
// The first visible match that appears within the timeout, or nullptr.
HWND waitForWindow(WindowFilter filter, DWORD timeoutMs);
bool waitUntilGone(HWND hwnd, DWORD timeoutMs);
