// The address book in memory: device records by value, in insertion (or file) order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "addressbook/DeviceRecord.h"
#include "base/AnsiText.h"

// Which device a record is while this process runs: given when the record is first appended,
// kept by copies of the table and by a merge of books, never given twice and never written to
// the file. A handler that waits in a modal loop (a form, a question, a tunnel attempt) keeps
// it, not an index: the table may be replaced by a merged book meanwhile.
using RecordId = std::uint64_t;

class DeviceTable {
public:
    std::size_t Count() const { return m_records.size(); }

    // The index must be below Count(). References are invalidated by Append and RemoveAt:
    // callers that need a record later keep its id.
    DeviceRecord& At(std::size_t index) { return m_records[index]; }
    const DeviceRecord& At(std::size_t index) const { return m_records[index]; }
    RecordId IdAt(std::size_t index) const { return m_ids[index]; }

    // Where the record of that id is now, or nothing when it has gone.
    std::optional<std::size_t> IndexOfId(RecordId id) const;

    // Appends a new device, with an id of its own.
    void Append(const DeviceRecord& record);
    // Appends a device that another table holds, as the same device (a merge of books).
    void Append(const DeviceRecord& record, RecordId id);
    void RemoveAt(std::size_t index);
    // Removes the records at these indexes (ascending, each below Count()) in one pass.
    void RemoveAt(std::span<const std::size_t> indexes);
    void Clear();
    void Reserve(std::size_t count);

    // First record, in table order, whose name equals the text byte for byte.
    std::optional<std::size_t> IndexOfName(std::string_view name) const;

    // First record, in table order, that the book's file would keep in one section with a
    // record of this name (IsSameSectionName): the device a name typed in other letter case means.
    std::optional<std::size_t> IndexOfNameIgnoringCase(
        std::string_view name, const AnsiCodePage& codePage = SystemCodePage()) const;

    // True when a record other than the skipped one has this whole name, as the address
    // book's file tells sections apart (IsSameSectionName): ASCII letters that are characters
    // of their own compared without regard to case, every other byte exactly, blanks at
    // either end not counted (the file keeps " Cam" and "Cam" in one section).
    bool ContainsNameIgnoringCase(std::string_view name,
                                  std::optional<std::size_t> skip = std::nullopt,
                                  const AnsiCodePage& codePage = SystemCodePage()) const;

private:
    std::vector<DeviceRecord> m_records;
    std::vector<RecordId> m_ids;  // beside m_records, index for index
};
