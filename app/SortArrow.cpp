#include "app/SortArrow.h"

#include <commctrl.h>

void ShowSortArrow(HWND list, std::optional<int> sortedColumn, bool descending) {
    const HWND header = ListView_GetHeader(list);
    const int columns = Header_GetItemCount(header);
    for (int column = 0; column < columns; ++column) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        if (!Header_GetItem(header, column, &item)) {
            continue;
        }
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (sortedColumn == column) {
            item.fmt |= descending ? HDF_SORTDOWN : HDF_SORTUP;
        }
        Header_SetItem(header, column, &item);
    }
}
