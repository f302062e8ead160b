// Lays out profile-file text as the platform's writer does: "[name]", then "KEY=value"
// lines, all ending in CR LF, with no blank lines. A name, key or value is written up to its
// first CR, LF or NUL, so no caller can write a line of its own into the file.
#pragma once

#include <string>
#include <string_view>

#include "base/AnsiText.h"

void AppendProfileSection(std::string& out, std::string_view name);

// A value that a reader would change (blanks at either end, or one pair of enclosing quotes)
// is written inside one more pair of double quotes, which every profile reader removes, so
// that it reads back exactly as written.
void AppendProfileKey(std::string& out, std::string_view key, std::string_view value,
                      const AnsiCodePage& codePage = SystemCodePage());

bool NeedsProtectingQuotes(std::string_view value, const AnsiCodePage& codePage = SystemCodePage());
