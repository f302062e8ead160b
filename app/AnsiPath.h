// A path in the ANSI code page, as the viewer's command line carries the program folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The path in the system's ANSI code page, or nothing when the path is empty or the code page
// cannot spell it exactly: a best-fit or replacement letter would name another file.
std::optional<std::string> AnsiPath(std::wstring_view path);
