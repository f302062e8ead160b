// How the device list sorts its rows when a column header is clicked.
#pragma once

#include <string>
#include <string_view>

#include "base/AnsiCodePage.h"

// One process-wide pair shared by every sort: starts as (ascending, column 0), so the first
// click on the name column sorts it descending.
struct SortState {
    bool descending = false;
    int lastColumn = 0;
};

// A click on a column: the same column again reverses the direction, another column starts
// ascending.
void UpdateSortState(SortState& state, int clickedColumn);

// Case-insensitive comparison in the ANSI code page: a double-byte character counts as one
// character and compares by the two-byte code of its upper-case form, single-byte letters
// compare as lower case, the first differing character decides, and a text that ends first is
// smaller. A lead byte at the very end of a text counts as a single byte. Negative, zero or
// positive; the operands swap when descending.
int CompareTextColumn(std::string_view a, std::string_view b, const SortState& state,
                      const AnsiCodePage& codePage);

// Appends a text's key for a sort that compares many texts: two keys compare, byte by byte as
// unsigned values (as std::string compares), as ascending CompareTextColumn compares their
// texts. Each character's code is written as bytes that keep the codes' order: a code below
// 0x80 as itself, another single byte after a 0x80, a double-byte character as its two bytes,
// whose first is above 0x80.
void AppendTextSortKey(std::string& keys, std::string_view text, const AnsiCodePage& codePage);

// Compares two port texts by the numbers they start with (LeadingDecimalNumber); the operands
// swap when descending.
int ComparePortColumn(std::string_view a, std::string_view b, const SortState& state);

// The comparison a column sorts with: the port column by number, the others as text.
constexpr int kPortColumnIndex = 2;
