#include "app/ListColumns.h"

#include "base/FixedText.h"

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

std::string_view DeviceColumnText(const DeviceRecord& record, int column) {
    switch (column) {
        case 0:
            return FieldText(record.name);
        case 1:
            return FieldText(record.serverIp);
        case 2:
            return FieldText(record.serverPort);
        case 3:
            return FieldText(record.uuid);
        default:
            return {};
    }
}
