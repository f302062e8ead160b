// Reading the number at the start of a text the way the C library's atoi does, without its
// undefined behaviour on overflow.
#pragma once

#include <string_view>

// Leading white space, an optional sign, then digits up to the first non-digit; a text
// without digits is 0, and values beyond the signed 32-bit range stop at its limits.
int LeadingDecimalNumber(std::string_view text);
