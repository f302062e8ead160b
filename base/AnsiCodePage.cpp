#include "base/AnsiCodePage.h"

AnsiCodePage::AnsiCodePage(Ranges lead, Ranges second, UpperCase upper)
    : m_upper(std::move(upper)) {
    for (const auto& [first, last] : lead) {
        AddLeadRange(first, last);
    }
    for (const auto& [first, last] : second) {
        AddSecondRange(first, last);
    }
}

void AnsiCodePage::AddLeadRange(unsigned char first, unsigned char last) {
    for (unsigned byte = first; byte <= last; ++byte) {
        m_lead.set(byte);
        m_singleByte = false;
    }
}

void AnsiCodePage::AddSecondRange(unsigned char first, unsigned char last) {
    for (unsigned byte = first; byte <= last; ++byte) {
        m_second.set(byte);
    }
}
