// Names that keep two devices apart. The book has one section per name, as profile readers
// tell names apart (IsSameSectionName): two devices under one name would be saved as one.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/AnsiText.h"

// A device given a name of its own, so that it does not become one device with another of
// the same name. Names are ANSI text, as in the records.
struct RenamedDevice {
    std::string from;
    std::string to;
};
using Renamings = std::vector<RenamedDevice>;

// "Name (2)", "Name (3)", ...: the first that `taken` does not hold, the name cut between two
// characters so that name and number fit a record's name field together.
std::string UniqueDeviceName(std::string_view name,
                             const std::function<bool(std::string_view)>& taken,
                             const AnsiCodePage& codePage = SystemCodePage());
