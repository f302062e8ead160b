// The system's ANSI code page as the program walks and sorts its text: the bytes that start a
// double-byte character (none in a single-byte code page), the bytes that can end one, and the
// upper-case form of each double-byte character. The one model of the code page; the walks
// over text that use it are in base/AnsiText.h.
#pragma once

#include <bitset>
#include <functional>
#include <initializer_list>
#include <utility>

class AnsiCodePage {
public:
    using Ranges = std::initializer_list<std::pair<unsigned char, unsigned char>>;
    // The upper-case form of a double-byte character, both as lead byte * 256 + trail byte.
    using UpperCase = std::function<unsigned(unsigned code)>;

    // A single-byte code page.
    AnsiCodePage() = default;
    // Inclusive ranges, as the platform lists them for a code page; no upper case: every
    // double-byte character is its own.
    AnsiCodePage(Ranges lead, Ranges second, UpperCase upper = {});

    void AddLeadRange(unsigned char first, unsigned char last);
    void AddSecondRange(unsigned char first, unsigned char last);
    void SetUpperCase(UpperCase upper) { m_upper = std::move(upper); }

    bool IsLeadByte(char byte) const { return m_lead.test(static_cast<unsigned char>(byte)); }
    bool CanEndCharacter(char byte) const {
        return m_second.test(static_cast<unsigned char>(byte));
    }
    // A single-byte code page, whose text the walks take byte by byte at once.
    bool IsSingleByte() const { return m_singleByte; }

    // The character itself when it has no upper-case form, or is no character of the code page.
    unsigned UpperDoubleByte(unsigned code) const { return m_upper ? m_upper(code) : code; }

private:
    std::bitset<256> m_lead;
    std::bitset<256> m_second;
    bool m_singleByte = true;
    UpperCase m_upper;
};

// The system's ANSI code page. On other hosts the narrow text is UTF-8, in which no ASCII
// byte is ever part of a longer character: a single-byte code page to every walk.
const AnsiCodePage& SystemCodePage();

// The one letter fold of single-byte characters: ASCII letters only, as the platform's
// profile functions and the device list's sort fold them.
constexpr char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
