#include "base/WidePath.h"

bool FitsPathLimit(std::string_view utf8) {
    std::size_t units = 1;  // the closing zero
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        // A continuation byte adds nothing; a four-byte character takes a surrogate pair.
        units += (byte & 0xC0) == 0x80 ? 0 : byte >= 0xF0 ? 2 : 1;
    }
    return units <= kPathLimit;
}
