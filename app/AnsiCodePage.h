// A multibyte code page of the system as the device list's text sort needs it: which bytes
// lead a double-byte character, and the upper-case form of each double-byte character, which
// the platform works out once per character and this object remembers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/SortRules.h"

class AnsiCodePage {
public:
    explicit AnsiCodePage(UINT codePage = CP_ACP) : m_codePage(codePage) {}

    bool IsLeadByte(unsigned char byte) const;

    // The upper-case form of a double-byte character (lead byte * 256 + trail byte); the
    // character itself when it has none in the code page, or is not a character there.
    unsigned UpperDoubleByte(unsigned code);

    // Functions for CompareTextColumn that use this object, which must outlive them.
    MultibyteCodePage ForComparison();

private:
    unsigned WorkOutUpper(unsigned code) const;

    UINT m_codePage;
    std::vector<std::uint16_t> m_upper;  // by code; 0 = not worked out yet
};

// An ANSI text (a device's name) as the device list shows it: read in the system's code page,
// a byte that makes no character there shown as the code page's default character.
std::wstring ShownText(std::string_view ansi);
