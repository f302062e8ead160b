// The device list's context menu. Its items send the owner WM_COMMAND with the menu ids of
// resource.h, and the owner runs for them what its buttons and the double-click run.
#pragma once

#include <windows.h>

#include "texts/Language.h"

// Answers WM_CONTEXTMENU from the list (position as the message gives it). A right-click on a
// row offers Connect, Edit, Delete, a check of the selected devices and a desktop shortcut, one
// on empty space Add and a check of every device; while a check runs (checking), Stop checking
// takes the check's place. The menu key and Shift+F10 act on the selected row, or on empty space
// when none is selected. Returns once the menu is closed; the chosen command arrives afterwards.
void ShowDeviceListMenu(HWND owner, HWND list, LPARAM position, Language languageId, bool checking);
