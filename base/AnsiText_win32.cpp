#include "base/AnsiText.h"

#include <windows.h>

#include <climits>

const LeadBytes& SystemLeadBytes() {
    static const LeadBytes lead = [] {
        LeadBytes found;
        CPINFO info{};
        if (GetCPInfo(CP_ACP, &info)) {
            for (std::size_t i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
                found.AddRange(info.LeadByte[i], info.LeadByte[i + 1]);
            }
        }
        // The platform names no second bytes; these are the code pages' own.
        switch (GetACP()) {
            case 932:  // Shift-JIS
                found.AddSecondRange(0x40, 0x7E);
                found.AddSecondRange(0x80, 0xFC);
                break;
            case 949:  // Unified Hangul
                found.AddSecondRange(0x41, 0x5A);
                found.AddSecondRange(0x61, 0x7A);
                found.AddSecondRange(0x81, 0xFE);
                break;
            case 950:  // Big5
                found.AddSecondRange(0x40, 0x7E);
                found.AddSecondRange(0xA1, 0xFE);
                break;
            default:  // GBK (936) and the rest
                found.AddSecondRange(0x40, 0x7E);
                found.AddSecondRange(0x80, 0xFE);
                break;
        }
        return found;
    }();
    return lead;
}

std::string AnsiFromUtf16(std::u16string_view text) {
    if (text.empty() || text.size() > INT_MAX / 2) {
        return {};
    }
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
    if (needed > 0) {
        WideCharToMultiByte(CP_ACP, 0, wide, length, ansi.data(), needed, nullptr, nullptr);
    }
    return ansi;
}
