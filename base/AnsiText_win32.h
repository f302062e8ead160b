// Text of the system's ANSI code page as the platform shows it.
#pragma once

#include <string>
#include <string_view>

// An ANSI text (a device's name) as the device list shows it: read in the system's code page,
// a byte that makes no character there shown as the code page's default character.
std::wstring ShownText(std::string_view ansi);
