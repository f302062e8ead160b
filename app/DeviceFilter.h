// Which devices the device list's filter keeps.
#pragma once

#include <string_view>

#include "addressbook/DeviceRecord.h"
#include "base/AnsiCodePage.h"

// Whether the record's name, IP, port or UUID holds the typed text (ANSI) anywhere, its ASCII
// letters folded as the book folds them and never from inside a double-byte character
// (ContainsIgnoringAsciiCase). An empty text keeps every record.
bool FilterKeeps(const DeviceRecord& record, std::string_view typed, const AnsiCodePage& codePage);
