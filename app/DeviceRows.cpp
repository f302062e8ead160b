#include "app/DeviceRows.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <string>

#include "app/DeviceFilter.h"
#include "base/DecimalText.h"

void DeviceRows::Reset(const DeviceTable& table, const AnsiCodePage& codePage) {
    m_order.resize(table.Count());
    std::iota(m_order.begin(), m_order.end(), std::size_t{0});
    KeepMatching(m_order, table, codePage);
}

void DeviceRows::AppendLast(const DeviceTable& table, const AnsiCodePage& codePage) {
    const std::size_t last = table.Count() - 1;
    m_order.push_back(last);
    if (m_filter && FilterKeeps(table.At(last), *m_filter, codePage)) {
        m_shown.push_back(last);
    }
}

void DeviceRows::Remove(std::span<const std::size_t> removed) {
    const auto follow = [removed](std::vector<std::size_t>& records) {
        std::size_t kept = 0;
        for (const std::size_t record : records) {
            const auto below = std::lower_bound(removed.begin(), removed.end(), record);
            if (below == removed.end() || *below != record) {
                records[kept++] = record - static_cast<std::size_t>(below - removed.begin());
            }
        }
        records.resize(kept);
    };
    follow(m_order);
    follow(m_shown);
}

template <class Before>
void DeviceRows::SortBy(Before before, const SortState& state) {
    // Descending swaps the operands, as the column's comparison does.
    std::stable_sort(m_order.begin(), m_order.end(), [&](std::size_t a, std::size_t b) {
        return state.descending ? before(b, a) : before(a, b);
    });
}

void DeviceRows::Sort(std::span<const std::string_view> texts, bool byNumber,
                      const SortState& state, const AnsiCodePage& codePage) {
    // What the comparison needs of each text, worked out once and kept together: the records
    // themselves lie far apart.
    if (byNumber) {
        std::vector<int> numbers(texts.size());
        std::transform(texts.begin(), texts.end(), numbers.begin(), LeadingDecimalNumber);
        SortBy([&](std::size_t a, std::size_t b) { return numbers[a] < numbers[b]; }, state);
    } else {
        // One block for all the keys: a hundred thousand small ones cost more to allocate
        // than to sort.
        std::string keys;
        std::vector<std::size_t> ends(texts.size());
        for (std::size_t record = 0; record < texts.size(); ++record) {
            AppendTextSortKey(keys, texts[record], codePage);
            ends[record] = keys.size();
        }
        const auto key = [&](std::size_t record) {
            const std::size_t begin = record == 0 ? 0 : ends[record - 1];
            return std::string_view(keys).substr(begin, ends[record] - begin);
        };
        SortBy([&](std::size_t a, std::size_t b) { return key(a) < key(b); }, state);
    }
    // The shown records in their new order, without asking the filter again.
    std::vector<bool> shown(texts.size());
    for (const std::size_t record : m_shown) {
        shown[record] = true;
    }
    m_shown.clear();
    std::copy_if(m_order.begin(), m_order.end(), std::back_inserter(m_shown),
                 [&shown](std::size_t record) { return shown[record]; });
}

void DeviceRows::Filter(std::optional<std::string> typed, const DeviceTable& table,
                        const AnsiCodePage& codePage) {
    // A text typed on from the last one keeps no record that the last one hid.
    const bool narrows = m_filter && typed && typed->starts_with(*m_filter);
    m_filter = std::move(typed);
    KeepMatching(narrows ? m_shown : m_order, table, codePage);
}

void DeviceRows::RecordChanged(const DeviceTable& table, const AnsiCodePage& codePage) {
    if (!m_filter || !m_filter->empty()) {
        KeepMatching(m_order, table, codePage);
    }
}

std::optional<std::size_t> DeviceRows::RowOf(std::size_t record) const {
    const auto found = std::find(m_shown.begin(), m_shown.end(), record);
    if (found == m_shown.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - m_shown.begin());
}

void DeviceRows::KeepMatching(const std::vector<std::size_t>& from, const DeviceTable& table,
                              const AnsiCodePage& codePage) {
    if (!m_filter) {
        m_shown.clear();
        return;
    }
    if (m_filter->empty()) {
        m_shown = from;
        return;
    }
    std::vector<std::size_t> kept;
    kept.reserve(from.size());
    std::copy_if(from.begin(), from.end(), std::back_inserter(kept), [&](std::size_t record) {
        return FilterKeeps(table.At(record), *m_filter, codePage);
    });
    m_shown = std::move(kept);
}
