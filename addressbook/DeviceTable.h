// The address book in memory: device records by value, in insertion (or file) order.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "addressbook/DeviceRecord.h"
#include "base/AnsiText.h"

class DeviceTable {
public:
    std::size_t Count() const { return m_records.size(); }

    // The index must be below Count(). References are invalidated by Append and RemoveAt:
    // callers that need a record later keep its index or its name.
    DeviceRecord& At(std::size_t index) { return m_records[index]; }
    const DeviceRecord& At(std::size_t index) const { return m_records[index]; }

    void Append(const DeviceRecord& record) { m_records.push_back(record); }
    void RemoveAt(std::size_t index);
    void Clear() { m_records.clear(); }
    void Reserve(std::size_t count) { m_records.reserve(count); }

    // First record, in table order, whose name equals the text byte for byte.
    std::optional<std::size_t> IndexOfName(std::string_view name) const;

    // True when a record other than the skipped one has this whole name, as the address
    // book's file tells sections apart (IsSameSectionName): ASCII letters that are characters
    // of their own compared without regard to case, every other byte exactly, blanks at
    // either end not counted (the file keeps " Cam" and "Cam" in one section).
    bool ContainsNameIgnoringCase(std::string_view name,
                                  std::optional<std::size_t> skip = std::nullopt,
                                  const LeadBytes& lead = SystemLeadBytes()) const;

private:
    std::vector<DeviceRecord> m_records;
};
