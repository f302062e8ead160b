// Which record each row of the device list shows: every record of the table, in the order of
// the last sort (table order until one), less those the filter hides. Rows name records by
// their table index and follow the table through appends and removals.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/DeviceTable.h"
#include "app/SortRules.h"

class DeviceRows {
public:
    // One row per record of the table, in table order, for the records the filter keeps.
    void Reset(const DeviceTable& table, const AnsiCodePage& codePage);

    // After the table's last record was appended: its row comes last, when the filter keeps it.
    void AppendLast(const DeviceTable& table, const AnsiCodePage& codePage);

    // After the records at these table indexes (ascending) were removed: their rows go, and
    // the rows of the records after them follow those records to their new indexes.
    void Remove(std::span<const std::size_t> removed);

    // Orders the records by their texts (one per table index) as the sort of a column compares
    // them, by number (ComparePortColumn) or as text (CompareTextColumn); records whose texts
    // compare equal keep their order.
    void Sort(std::span<const std::string_view> texts, bool byNumber, const SortState& state,
              const AnsiCodePage& codePage);

    // Keeps the rows of the records that FilterKeeps for the typed text (ANSI): an empty text
    // keeps every record, and nothing (a text the code page cannot spell) none.
    void Filter(std::optional<std::string> typed, const DeviceTable& table,
                const AnsiCodePage& codePage);

    // After a record was changed: the filter decides on it anew.
    void RecordChanged(const DeviceTable& table, const AnsiCodePage& codePage);

    std::size_t Count() const { return m_shown.size(); }
    // The row must be below Count().
    std::size_t RecordAt(std::size_t row) const { return m_shown[row]; }
    // The row that shows the record; nothing when none does.
    std::optional<std::size_t> RowOf(std::size_t record) const;

private:
    // Orders m_order by before(a, b) on two table indexes, reversed when descending.
    template <class Before>
    void SortBy(Before before, const SortState& state);
    // m_shown becomes the records of `from` (m_order or m_shown itself) that the filter keeps.
    void KeepMatching(const std::vector<std::size_t>& from, const DeviceTable& table,
                      const AnsiCodePage& codePage);

    std::vector<std::size_t> m_order;  // every record, in the list's order
    std::vector<std::size_t> m_shown;  // the rows: the records of m_order the filter keeps
    std::optional<std::string> m_filter = std::string();
};
