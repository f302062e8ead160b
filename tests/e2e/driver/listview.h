// Reading a list-view control that belongs to another (32-bit) process.
#pragma once

#include <windows.h>

#include "json.h"

// {"columns": [...], "rows": [{"texts": [...], "selected": bool, "rect": {...}}, ...]}
// A row's rect is in screen coordinates; rows scrolled out of view lie outside the list.
JsonObject readListView(HWND listView);

// Selects one row alone, as assistive software or another program can, a disabled list too.
void selectListViewRow(HWND listView, int row);
