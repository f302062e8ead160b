#include "app/AnsiCodePage.h"

bool AnsiCodePage::IsLeadByte(unsigned char byte) const {
    return IsDBCSLeadByteEx(m_codePage, byte) != 0;
}

unsigned AnsiCodePage::UpperDoubleByte(unsigned code) {
    if (code > 0xFFFF) {
        return code;
    }
    if (m_upper.empty()) {
        m_upper.assign(0x10000, 0);
    }
    std::uint16_t& known = m_upper[code];
    if (known == 0) {
        known = static_cast<std::uint16_t>(WorkOutUpper(code));
    }
    return known;
}

unsigned AnsiCodePage::WorkOutUpper(unsigned code) const {
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

MultibyteCodePage AnsiCodePage::ForComparison() {
    return {[this](unsigned char byte) { return IsLeadByte(byte); },
            [this](unsigned code) { return UpperDoubleByte(code); }};
}

std::wstring ShownText(std::string_view ansi) {
    const int length = static_cast<int>(ansi.size());
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
    if (wideLength <= 0) {
        return std::wstring();
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), wideLength);
    return wide;
}
