#include "addressbook/DeviceTable.h"

#include <algorithm>
#include <atomic>

#include "addressbook/ProfileDocument.h"
#include "base/FixedText.h"

namespace {

// One counter for the process, so that no two tables (the book, its copies, an import) can
// ever give one id to two devices.
RecordId NewRecordId() {
    static std::atomic<RecordId> last{0};
    return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

}  // namespace

std::optional<std::size_t> DeviceTable::IndexOfId(RecordId id) const {
    const auto found = std::find(m_ids.begin(), m_ids.end(), id);
    if (found == m_ids.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - m_ids.begin());
}

void DeviceTable::Append(const DeviceRecord& record) {
    Append(record, NewRecordId());
}

void DeviceTable::Append(const DeviceRecord& record, RecordId id) {
    m_records.push_back(record);
    m_ids.push_back(id);
}

void DeviceTable::RemoveAt(std::size_t index) {
    m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(index));
    m_ids.erase(m_ids.begin() + static_cast<std::ptrdiff_t>(index));
}

void DeviceTable::RemoveAt(std::span<const std::size_t> indexes) {
    std::size_t kept = 0;
    auto removed = indexes.begin();
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (removed != indexes.end() && *removed == i) {
            ++removed;
            continue;
        }
        m_records[kept] = m_records[i];
        m_ids[kept] = m_ids[i];
        ++kept;
    }
    m_records.resize(kept);
    m_ids.resize(kept);
}

void DeviceTable::Clear() {
    m_records.clear();
    m_ids.clear();
}

void DeviceTable::Reserve(std::size_t count) {
    m_records.reserve(count);
    m_ids.reserve(count);
}

std::optional<std::size_t> DeviceTable::IndexOfName(std::string_view name) const {
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (FieldText(m_records[i].name) == name) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> DeviceTable::IndexOfNameIgnoringCase(
    std::string_view name, const AnsiCodePage& codePage) const {
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (IsSameSectionName(FieldText(m_records[i].name), name, codePage)) {
            return i;
        }
    }
    return std::nullopt;
}

bool DeviceTable::ContainsNameIgnoringCase(std::string_view name, std::optional<std::size_t> skip,
                                           const AnsiCodePage& codePage) const {
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (i != skip && IsSameSectionName(FieldText(m_records[i].name), name, codePage)) {
            return true;
        }
    }
    return false;
}
