// Text in the system's ANSI code page, walked by characters as the platform's own conversions
// walk it. In a double-byte code page a lead byte and the byte after it are one character,
// whatever that byte is (even "]", "=", CR or LF), unless it is a zero or the text ends there;
// a pair that is no character of the code page converts to one "?".
#pragma once

#include <bitset>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

// The bytes that start a double-byte character in one code page (none in a single-byte one),
// and the bytes that can end one.
class LeadBytes {
public:
    using Ranges = std::initializer_list<std::pair<unsigned char, unsigned char>>;

    LeadBytes() = default;
    // Inclusive ranges, as the platform lists them for a code page.
    LeadBytes(Ranges lead, Ranges second);

    void AddRange(unsigned char first, unsigned char last);
    void AddSecondRange(unsigned char first, unsigned char last);
    bool Contains(char byte) const { return m_bytes.test(static_cast<unsigned char>(byte)); }
    bool CanEndCharacter(char byte) const {
        return m_second.test(static_cast<unsigned char>(byte));
    }
    // A single-byte code page, whose text the walks below take byte by byte at once.
    bool None() const { return m_none; }

private:
    std::bitset<256> m_bytes;
    std::bitset<256> m_second;
    bool m_none = true;
};

// The lead bytes of the system's ANSI code page. On other hosts the narrow text is UTF-8, in
// which no ASCII byte is ever part of a longer character: no lead bytes.
const LeadBytes& SystemLeadBytes();

// UTF-16 text in the system's ANSI code page, as the platform's profile reader converts a
// UTF-16 file: a character the code page cannot spell becomes the code page's replacement.
std::string AnsiFromUtf16(std::u16string_view text);

// The text with every lead byte that the code page does not let the next byte follow (a CR,
// LF, "=" or blank, say) replaced, together with that byte (unless it is a zero or the end),
// by "?": the one character the platform's conversion makes of them.
std::string ReplaceBrokenCharacters(std::string text, const LeadBytes& lead);

// The length, 1 or 2, of the character that starts at text[at].
inline std::size_t CharacterLength(std::string_view text, std::size_t at, const LeadBytes& lead) {
    return lead.Contains(text[at]) && at + 1 < text.size() && text[at + 1] != '\0' ? 2 : 1;
}

// The longest start of the text, at most maxBytes long, that ends between two characters:
// a cut inside a double-byte character would leave a lead byte that swallows whatever the
// file puts after it.
std::string_view CutAtCharacter(std::string_view text, std::size_t maxBytes, const LeadBytes& lead);

constexpr char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// EqualsIgnoringAsciiCase for two texts of one length in a double-byte code page.
bool EqualsWalkingCharacters(std::string_view a, std::string_view b, const LeadBytes& lead);

// Equal texts when the ASCII letters that are characters of their own are compared without
// regard to case, and everything else byte for byte: the second byte of a double-byte
// character is never folded (in Big5, A4 6A and A4 4A are two different characters).
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b, const LeadBytes& lead) {
    if (a.size() != b.size()) {
        return false;
    }
    if (!lead.None()) {
        return EqualsWalkingCharacters(a, b, lead);
    }
    for (std::size_t at = 0; at < a.size(); ++at) {
        if (AsciiLower(a[at]) != AsciiLower(b[at])) {
            return false;
        }
    }
    return true;
}

// A hash under which every two texts that EqualsIgnoringAsciiCase finds equal agree.
std::size_t HashIgnoringAsciiCase(std::string_view text, const LeadBytes& lead);

// Where the character c stands as a character of its own (not as the second byte of a
// double-byte one): the first or the last place, or npos.
std::size_t FindCharacter(std::string_view text, char c, const LeadBytes& lead);
std::size_t FindLastCharacter(std::string_view text, char c, const LeadBytes& lead);

// The text up to its first byte below 0x20 (a line break, a NUL, any control byte): what of
// a device's reply may reach the book. No second byte of a double-byte character is so low.
std::string_view UpToControlByte(std::string_view text);

// Whether the text's last byte is a character of its own.
bool EndsInSingleByte(std::string_view text, const LeadBytes& lead);
