#include "app/ListColumns.h"

std::array<int, 4> ColumnWidthsFor(int clientWidth) {
    const int width = clientWidth < 0 ? 0 : clientWidth;
    std::array<int, 4> widths{};
    for (std::size_t i = 0; i < kListColumns.size(); ++i) {
        widths[i] = width * kListColumns[i].percentOfWidth / 100;
    }
    return widths;
}
