// Telling a dotted IPv4 address from any other text a device might report.
#pragma once

#include <string_view>

// Four decimal numbers of 0 to 255 with one to three digits each and no leading zero, joined
// by dots, and nothing else: no blanks, signs, host names, ports or trailing bytes.
bool IsDottedIpv4(std::string_view text);
