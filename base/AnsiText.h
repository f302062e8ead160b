// Text in the system's ANSI code page, walked by characters as the platform's own conversions
// walk it. In a double-byte code page a lead byte and the byte after it are one character,
// whatever that byte is (even "]", "=", CR or LF), unless it is a zero or the text ends there;
// a pair that is no character of the code page converts to one "?".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/AnsiCodePage.h"

// UTF-16 text in the system's ANSI code page, as the platform's profile reader converts a
// UTF-16 file: a character the code page cannot spell becomes the code page's replacement.
std::string AnsiFromUtf16(std::u16string_view text);

// The text with every lead byte that the code page does not let the next byte follow (a CR,
// LF, "=" or blank, say) replaced, together with that byte (unless it is a zero or the end),
// by "?": the one character the platform's conversion makes of them.
std::string ReplaceBrokenCharacters(std::string text, const AnsiCodePage& codePage);

// The length, 1 or 2, of the character that starts at text[at].
inline std::size_t CharacterLength(std::string_view text, std::size_t at,
                                   const AnsiCodePage& codePage) {
    return codePage.IsLeadByte(text[at]) && at + 1 < text.size() && text[at + 1] != '\0' ? 2 : 1;
}

// The longest start of the text, at most maxBytes long, that ends between two characters:
// a cut inside a double-byte character would leave a lead byte that swallows whatever the
// file puts after it.
std::string_view CutAtCharacter(std::string_view text, std::size_t maxBytes,
                                const AnsiCodePage& codePage);

// EqualsIgnoringAsciiCase for two texts of one length in a double-byte code page.
bool EqualsWalkingCharacters(std::string_view a, std::string_view b, const AnsiCodePage& codePage);

// Equal texts when the ASCII letters that are characters of their own are compared without
// regard to case, and everything else byte for byte: the second byte of a double-byte
// character is never folded (in Big5, A4 6A and A4 4A are two different characters).
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b,
                                    const AnsiCodePage& codePage) {
    if (a.size() != b.size()) {
        return false;
    }
    if (!codePage.IsSingleByte()) {
        return EqualsWalkingCharacters(a, b, codePage);
    }
    for (std::size_t at = 0; at < a.size(); ++at) {
        if (AsciiLower(a[at]) != AsciiLower(b[at])) {
            return false;
        }
    }
    return true;
}

// Whether part stands in the text as characters of its own, from a place where a character
// of the text starts, compared as EqualsIgnoringAsciiCase compares: a double-byte character
// of the text matches only the same whole character of part. An empty part stands anywhere.
bool ContainsIgnoringAsciiCase(std::string_view text, std::string_view part,
                               const AnsiCodePage& codePage);

// A hash under which every two texts that EqualsIgnoringAsciiCase finds equal agree.
std::size_t HashIgnoringAsciiCase(std::string_view text, const AnsiCodePage& codePage);

// Where the character c stands as a character of its own (not as the second byte of a
// double-byte one): the first or the last place, or npos.
std::size_t FindCharacter(std::string_view text, char c, const AnsiCodePage& codePage);
std::size_t FindLastCharacter(std::string_view text, char c, const AnsiCodePage& codePage);

// The text up to its first byte below 0x20 (a line break, a NUL, any control byte): what of
// a device's reply may reach the book. No second byte of a double-byte character is so low.
std::string_view UpToControlByte(std::string_view text);

// Whether the text's last byte is a character of its own.
bool EndsInSingleByte(std::string_view text, const AnsiCodePage& codePage);
