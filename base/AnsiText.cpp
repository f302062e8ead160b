#include "base/AnsiText.h"

#include <cstdint>

std::string ReplaceBrokenCharacters(std::string text, const AnsiCodePage& codePage) {
    if (codePage.IsSingleByte()) {
        return text;
    }
    std::size_t kept = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = CharacterLength(text, at, codePage);
        if (codePage.IsLeadByte(text[at]) &&
            (length == 1 || !codePage.CanEndCharacter(text[at + 1]))) {
            text[kept++] = '?';
        } else {
            for (std::size_t i = 0; i < length; ++i) {
                text[kept++] = text[at + i];  // kept never passes at
            }
        }
        at += length;
    }
    text.resize(kept);
    return text;
}

std::string_view CutAtCharacter(std::string_view text, std::size_t maxBytes,
                                const AnsiCodePage& codePage) {
    if (text.size() <= maxBytes) {
        return text;
    }
    std::size_t end = 0;
    while (end < maxBytes) {
        const std::size_t next = end + CharacterLength(text, end, codePage);
        if (next > maxBytes) {
            break;
        }
        end = next;
    }
    return text.substr(0, end);
}

// Two texts that agree byte for byte up to some point, ASCII letters folded, have their
// characters start at the same places up to there: whether a byte is a lead byte or a zero
// survives the folding. So the walk of one text serves for both.
bool EqualsWalkingCharacters(std::string_view a, std::string_view b, const AnsiCodePage& codePage) {
    for (std::size_t at = 0; at < a.size();) {
        const std::size_t length = CharacterLength(a, at, codePage);
        if (length == 1 ? AsciiLower(a[at]) != AsciiLower(b[at])
                        : a.compare(at, 2, b, at, 2) != 0) {
            return false;
        }
        at += length;
    }
    return true;
}

namespace {

// Whether part's characters follow one another in the text from its character at `at` on.
bool StandsAt(std::string_view text, std::size_t at, std::string_view part,
              const AnsiCodePage& codePage) {
    for (std::size_t in = 0; in < part.size();) {
        if (at >= text.size()) {
            return false;
        }
        const std::size_t length = CharacterLength(text, at, codePage);
        if (CharacterLength(part, in, codePage) != length ||
            (length == 1 ? AsciiLower(text[at]) != AsciiLower(part[in])
                         : text.compare(at, 2, part, in, 2) != 0)) {
            return false;
        }
        at += length;
        in += length;
    }
    return true;
}

}  // namespace

bool ContainsIgnoringAsciiCase(std::string_view text, std::string_view part,
                               const AnsiCodePage& codePage) {
    if (part.empty()) {
        return true;
    }
    const char first = AsciiLower(part[0]);
    for (std::size_t at = 0; at + part.size() <= text.size();
         at += CharacterLength(text, at, codePage)) {
        if (AsciiLower(text[at]) == first && StandsAt(text, at, part, codePage)) {
            return true;
        }
    }
    return false;
}

std::size_t HashIgnoringAsciiCase(std::string_view text, const AnsiCodePage& codePage) {
    std::size_t hash = 14695981039346656037ull & SIZE_MAX;  // FNV-1a
    const auto mix = [&hash](char c) {
        hash = (hash ^ static_cast<unsigned char>(c)) * (1099511628211ull & SIZE_MAX);
    };
    if (codePage.IsSingleByte()) {
        for (char c : text) {
            mix(AsciiLower(c));
        }
        return hash;
    }
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = CharacterLength(text, at, codePage);
        if (length == 1) {
            mix(AsciiLower(text[at]));
        } else {
            mix(text[at]);
            mix(text[at + 1]);
        }
        at += length;
    }
    return hash;
}

std::size_t FindCharacter(std::string_view text, char c, const AnsiCodePage& codePage) {
    if (codePage.IsSingleByte()) {
        return text.find(c);
    }
    for (std::size_t at = 0; at < text.size(); at += CharacterLength(text, at, codePage)) {
        if (text[at] == c) {
            return at;
        }
    }
    return std::string_view::npos;
}

std::size_t FindLastCharacter(std::string_view text, char c, const AnsiCodePage& codePage) {
    if (codePage.IsSingleByte()) {
        return text.rfind(c);
    }
    std::size_t found = std::string_view::npos;
    for (std::size_t at = 0; at < text.size(); at += CharacterLength(text, at, codePage)) {
        if (text[at] == c) {
            found = at;
        }
    }
    return found;
}

std::string_view UpToControlByte(std::string_view text) {
    std::size_t end = 0;
    while (end < text.size() && static_cast<unsigned char>(text[end]) >= 0x20) {
        ++end;
    }
    return text.substr(0, end);
}

bool EndsInSingleByte(std::string_view text, const AnsiCodePage& codePage) {
    if (text.empty()) {
        return false;
    }
    // Only a lead byte just before the last byte can make it a second byte; whether that one
    // is itself a second byte shows only from the start.
    if (text.size() < 2 || !codePage.IsLeadByte(text[text.size() - 2])) {
        return true;
    }
    std::size_t at = 0;
    while (at + 1 < text.size()) {
        at += CharacterLength(text, at, codePage);
    }
    return at == text.size() - 1;
}
