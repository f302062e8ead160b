#include "app/ListColumns.h"

std::vector<int> ColumnWidthsFor(std::span<const ListColumn> columns, int clientWidth) {
    const int width = clientWidth < 0 ? 0 : clientWidth;
    std::vector<int> widths;
    widths.reserve(columns.size());
    for (const ListColumn& column : columns) {
        widths.push_back(width * column.percentOfWidth / 100);
    }
    return widths;
}

std::vector<const wchar_t*> ColumnHeaders(std::span<const ListColumn> columns, Language language) {
    std::vector<const wchar_t*> headers;
    headers.reserve(columns.size());
    for (const ListColumn& column : columns) {
        headers.push_back(InLanguage(column.header, language));
    }
    return headers;
}
