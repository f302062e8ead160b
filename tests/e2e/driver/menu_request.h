// Shared by e2edriver.exe and e2ehook.dll. Wine keeps menus private to the
// process that owns them (GetSystemMenu on another process's window returns
// nothing), so the driver loads e2ehook.dll into the program under test and has
// it fill this structure, which lives in that program's memory.
#pragma once

#include <windows.h>

struct MenuItemRecord {
    UINT id;
    UINT type;   // MFT_* flags
    UINT state;  // MFS_* flags
    WCHAR text[128];
};

struct MenuRequest {
    HWND hwnd;
    LONG count;  // filled in by the hook; -1 when the window has no system menu
    MenuItemRecord items[64];
};

#define E2E_READ_SYSTEM_MENU "e2e_read_system_menu"
