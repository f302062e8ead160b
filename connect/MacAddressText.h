// Telling a MAC address from any other text a device might report.
#pragma once

#include <string_view>

// Six pairs of hexadecimal digits (either case) joined by five colons or five hyphens, and
// nothing else.
bool IsMacAddress(std::string_view text);
