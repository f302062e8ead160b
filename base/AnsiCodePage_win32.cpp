#include "base/AnsiCodePage_win32.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace {

// The upper-case form of each double-byte character, as the platform's conversions give it.
class UpperCaseTable {
public:
    explicit UpperCaseTable(UINT codePage) : m_codePage(codePage) {}

    unsigned Upper(unsigned code) {
        if (code > 0xFFFF) {
            return code;
        }
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_upper.empty()) {
            m_upper.assign(0x10000, 0);
        }
        std::uint16_t& known = m_upper[code];
        if (known == 0) {
            known = static_cast<std::uint16_t>(WorkOutUpper(code));
        }
        return known;
    }

private:
    unsigned WorkOutUpper(unsigned code) const {
        const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
        wchar_t wide[2] = {};
        if (MultiByteToWideChar(m_codePage, MB_ERR_INVALID_CHARS, bytes, 2, wide, 2) != 1) {
            return code;
        }
        CharUpperBuffW(wide, 1);
        char upper[2] = {};
        BOOL inexact = FALSE;
        if (WideCharToMultiByte(m_codePage, WC_NO_BEST_FIT_CHARS, wide, 1, upper, 2, nullptr,
                                &inexact) != 2 ||
            inexact) {
            return code;
        }
        return (static_cast<unsigned char>(upper[0]) << 8) | static_cast<unsigned char>(upper[1]);
    }

    UINT m_codePage;
    std::mutex m_mutex;
    std::vector<std::uint16_t> m_upper;  // by code; 0 = not worked out yet
};

}  // namespace

AnsiCodePage PlatformCodePage(unsigned codePageId) {
    AnsiCodePage found;
    CPINFO info{};
    if (GetCPInfo(codePageId, &info)) {
        for (std::size_t i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
            found.AddLeadRange(info.LeadByte[i], info.LeadByte[i + 1]);
        }
    }
    // The platform names no second bytes; these are the code pages' own.
    switch (codePageId == CP_ACP ? GetACP() : codePageId) {
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
    if (!found.IsSingleByte()) {
        found.SetUpperCase([table = std::make_shared<UpperCaseTable>(codePageId)](unsigned code) {
            return table->Upper(code);
        });
    }
    return found;
}

const AnsiCodePage& SystemCodePage() {
    static const AnsiCodePage system = PlatformCodePage(CP_ACP);
    return system;
}
