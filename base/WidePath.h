// The program keeps file paths as UTF-8 text, so any path Windows can name fits in a
// std::string whatever the ANSI code page is; the Win32 file calls take them widened.
#pragma once

#include <string>
#include <string_view>

// UTF-8 to UTF-16 and back; text that is not valid in its encoding becomes empty, which no
// file call accepts.
std::wstring WidePath(std::string_view utf8);
std::string Utf8Path(std::wstring_view wide);
