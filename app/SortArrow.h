// The sort arrow in a list view's header.
#pragma once

#include <windows.h>

#include <optional>

// Shows the order of the sorted column in its header (down when descending, up when
// ascending) and takes the arrow off every other column; no column: no arrow anywhere.
void ShowSortArrow(HWND list, std::optional<int> sortedColumn, bool descending);
