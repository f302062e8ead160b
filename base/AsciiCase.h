// Comparisons that fold only the ASCII letters, leaving every other byte as it is. Bytes of
// the ANSI code page above 0x7F are never folded: in double-byte code pages they may be half
// of a character.
#pragma once

#include <string_view>

constexpr char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}
