// The device list's four columns: header text and share of the list's client width.
#pragma once

#include <array>

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

// Column widths in pixels for a list whose client area is clientWidth wide (never negative).
std::array<int, 4> ColumnWidthsFor(int clientWidth);
