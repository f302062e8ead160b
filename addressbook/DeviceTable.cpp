#include "addressbook/DeviceTable.h"

#include "addressbook/ProfileDocument.h"
#include "base/FixedText.h"

void DeviceTable::RemoveAt(std::size_t index) {
    m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(index));
}

std::optional<std::size_t> DeviceTable::IndexOfName(std::string_view name) const {
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (FieldText(m_records[i].name) == name) {
            return i;
        }
    }
    return std::nullopt;
}

bool DeviceTable::ContainsNameIgnoringCase(std::string_view name, std::optional<std::size_t> skip,
                                           const LeadBytes& lead) const {
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (i != skip && IsSameSectionName(FieldText(m_records[i].name), name, lead)) {
            return true;
        }
    }
    return false;
}
