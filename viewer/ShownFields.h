// What the viewer's window lists for a command line: one row for each of the eleven fields, in
// the launcher's order, with the password masked.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "viewer/ReceivedCommandLine.h"

struct ShownField {
    std::string_view key;
    std::string text;
};

// The password shows as one '*' per byte; a field the line lacks shows as kMissingField.
std::vector<ShownField> ShownFields(const ReceivedCommandLine& line);

inline constexpr std::string_view kMissingField = "(not given)";
