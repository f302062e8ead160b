#include "app/SortRules.h"

#include "base/AnsiText.h"
#include "base/DecimalText.h"

void UpdateSortState(SortState& state, int clickedColumn) {
    if (clickedColumn == state.lastColumn) {
        state.descending = !state.descending;
    } else {
        state.descending = false;
        state.lastColumn = clickedColumn;
    }
}

namespace {

// The next character of a text and its comparison code: a double-byte character as the
// two-byte value of its upper-case form, a single byte folded to lower case.
unsigned NextCharacter(std::string_view& text, const AnsiCodePage& codePage) {
    if (CharacterLength(text, 0, codePage) == 2) {
        const unsigned code =
            (static_cast<unsigned char>(text[0]) << 8) | static_cast<unsigned char>(text[1]);
        text.remove_prefix(2);
        return codePage.UpperDoubleByte(code);
    }
    const auto folded = static_cast<unsigned char>(AsciiLower(text[0]));
    text.remove_prefix(1);
    return folded;
}

int CompareIgnoringCase(std::string_view a, std::string_view b, const AnsiCodePage& codePage) {
    while (!a.empty() && !b.empty()) {
        const unsigned left = NextCharacter(a, codePage);
        const unsigned right = NextCharacter(b, codePage);
        if (left != right) {
            return left < right ? -1 : 1;
        }
    }
    if (a.empty() && b.empty()) {
        return 0;
    }
    return a.empty() ? -1 : 1;
}

int Ordered(int left, int right) {
    return left < right ? -1 : (left > right ? 1 : 0);
}

}  // namespace

void AppendTextSortKey(std::string& keys, std::string_view text, const AnsiCodePage& codePage) {
    while (!text.empty()) {
        const unsigned code = NextCharacter(text, codePage);
        if (code > 0xFF) {
            keys.push_back(static_cast<char>(code >> 8));
        } else if (code >= 0x80) {
            keys.push_back(static_cast<char>(0x80));
        }
        keys.push_back(static_cast<char>(code & 0xFF));
    }
}

int CompareTextColumn(std::string_view a, std::string_view b, const SortState& state,
                      const AnsiCodePage& codePage) {
    return state.descending ? CompareIgnoringCase(b, a, codePage)
                            : CompareIgnoringCase(a, b, codePage);
}

int ComparePortColumn(std::string_view a, std::string_view b, const SortState& state) {
    const int left = LeadingDecimalNumber(a);
    const int right = LeadingDecimalNumber(b);
    return state.descending ? Ordered(right, left) : Ordered(left, right);
}
