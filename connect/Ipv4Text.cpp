#include "connect/Ipv4Text.h"

bool IsDottedIpv4(std::string_view text) {
    int parts = 0;
    std::size_t at = 0;
    while (parts < 4) {
        int value = 0;
        std::size_t digits = 0;
        const std::size_t first = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 4) {
            value = value * 10 + (text[at] - '0');
            ++at;
            ++digits;
        }
        // A leading zero would make some readers take the number as octal.
        if (digits == 0 || digits > 3 || value > 255 || (digits > 1 && text[first] == '0')) {
            return false;
        }
        ++parts;
        if (parts < 4) {
            if (at >= text.size() || text[at] != '.') {
                return false;
            }
            ++at;
        }
    }
    return at == text.size();
}
