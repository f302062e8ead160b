// Reading the system menu (the window icon's menu) of another process's window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "json.h"

// One {"id", "text", "separator", "grayed", "checked"} object per item.
std::vector<JsonObject> readSystemMenu(HWND hwnd);
