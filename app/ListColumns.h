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

// The device list once a check has run: the four columns give the status a share of theirs.
inline constexpr std::array<ListColumn, 5> kCheckedListColumns{{
    {texts::kDeviceNameColumn, 22},
    {texts::kDeviceIpColumn, 19},
    {texts::kPortColumn, 9},
    {texts::kUuidColumn, 20},
    {texts::kStatusColumn, 30},
}};

// The last column tells whether the book has the device already.
inline constexpr std::array<ListColumn, 5> kLanColumns{{
    {texts::kLanNameColumn, 28},
    {texts::kLanIpColumn, 22},
    {texts::kLanPortColumn, 10},
    {texts::kLanMacColumn, 22},
    {texts::kLanBookColumn, 18},
}};

// Column widths in pixels for a list whose client area is clientWidth wide (never negative).
std::vector<int> ColumnWidthsFor(std::span<const ListColumn> columns, int clientWidth);

// The columns' headers in the language.
std::vector<const wchar_t*> ColumnHeaders(std::span<const ListColumn> columns, Language language);
