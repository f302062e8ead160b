// Shared by e2edriver.exe and e2ehook.dll. Wine keeps menus private to the
// process that owns them (GetSystemMenu on another process's window returns
// nothing), so the driver loads e2ehook.dll into the program under test and has
// it fill this structure, which lives in that program's memory: a window's
// system menu, or an open popup menu.
#pragma once

#include <windows.h>

struct MenuItemRecord {
    UINT id;
    UINT type;   // MFT_* flags
    UINT state;  // MFS_* flags
    WCHAR text[128];
    RECT rect;  // on the screen; popup menus only
};

struct MenuRequest {
    HWND hwnd;
    HMENU popup;  // when set, this open popup menu instead of hwnd's system menu
    LONG count;   // filled in by the hook; -1 when there is no such menu
    MenuItemRecord items[64];
};

#define E2E_READ_MENU "e2e_read_menu"
