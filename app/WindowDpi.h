// The DPI a window is shown at, which its layout and fonts follow.
#pragma once

#include <windows.h>

// The window's own DPI where the system keeps one per window (Windows 10 1607 and later),
// else the system's, which every window then shares.
int DpiOfWindow(HWND window);
