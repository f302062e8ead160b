// The program keeps file paths as UTF-8 text, so any path Windows can name fits in a
// std::string whatever the ANSI code page is; the Win32 file calls take them widened.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 to UTF-16 and back; text that is not valid in its encoding becomes empty, which no
// file call accepts.
std::wstring WidePath(std::string_view utf8);
std::string Utf8Path(std::wstring_view wide);

// MAX_PATH, in UTF-16 units with the closing zero: the limit of every path the program hands
// the Win32 file calls, which it never gives the "\\?\" prefix that would lift it.
constexpr std::size_t kPathLimit = 260;

// Whether the UTF-8 path, counted in UTF-16 units as Windows counts it, fits kPathLimit.
// Portable, so that the host build names its files as the Windows build does.
bool FitsPathLimit(std::string_view utf8);
