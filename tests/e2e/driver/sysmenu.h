// Reading the menus of another process: a window's system menu (the window
// icon's menu) and an open popup menu, such as a context menu.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "json.h"

// One {"id", "text", "separator", "grayed", "checked"} object per item.
std::vector<JsonObject> readSystemMenu(HWND hwnd);
// The same for the menu shown by a popup menu window (class #32768), each item
// with its "rect" on the screen.
std::vector<JsonObject> readPopupMenu(HWND menuWindow);
