// The columns of the program's two lists, the devices of the book and the devices on this LAN:
// header text and share of the list's client width.
#pragma once

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "addressbook/DeviceRecord.h"
#include "texts/Texts.h"

struct ListColumn {
    UiText header;
    int percentOfWidth;
};

inline constexpr std::array<ListColumn, 4> kListColumns{{
    {texts::kDeviceNameColumn, 30},
    {texts::kDeviceIpColumn, 30},
    {texts::kPortColumn, 10},
    {texts::kUuidColumn, 30},
}};

// What a column of the device list shows of a record, exactly as stored: the name, IP, port
// and UUID; nothing for another column.
std::string_view DeviceColumnText(const DeviceRecord& record, int column);

inline constexpr std::array<ListColumn, 4> kLanColumns{{
    {texts::kLanNameColumn, 34},
    {texts::kLanIpColumn, 26},
    {texts::kLanPortColumn, 12},
    {texts::kLanMacColumn, 28},
}};

// Column widths in pixels for a list whose client area is clientWidth wide (never negative).
std::vector<int> ColumnWidthsFor(std::span<const ListColumn> columns, int clientWidth);

// The columns' headers in the language.
std::vector<const wchar_t*> ColumnHeaders(std::span<const ListColumn> columns, Language language);
