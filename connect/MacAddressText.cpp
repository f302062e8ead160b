#include "connect/MacAddressText.h"

namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

bool IsMacAddress(std::string_view text) {
    constexpr std::size_t kLength = 17;  // "aa:bb:cc:dd:ee:ff"
    if (text.size() != kLength || (text[2] != ':' && text[2] != '-')) {
        return false;
    }
    for (std::size_t at = 0; at < kLength; ++at) {
        const bool separator = at % 3 == 2;
        if (separator ? text[at] != text[2] : !IsHexDigit(text[at])) {
            return false;
        }
    }
    return true;
}
