// Shared by e2edriver.exe and e2ehook.dll: what the driver asks of code it runs
// inside the program under test, in structures that live in that program's
// memory. Wine keeps menus private to the process that owns them (GetSystemMenu
// on another process's window returns nothing), and the cursor a program set is
// only comparable with the cursors it loaded itself.
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

// The cursor the foreground window's thread shows.
struct CursorRequest {
    LONG wait;  // filled in by the hook: 1 for the system's wait cursor
};

#define E2E_READ_CURSOR "e2e_read_cursor"
