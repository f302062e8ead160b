#include "addressbook/LoadedNames.h"

#include <algorithm>
#include <utility>

LoadedNames::LoadedNames(std::vector<std::string_view> names, const AnsiCodePage& codePage)
    : m_names(std::move(names)), m_hash{codePage}, m_equal{codePage}, m_first(m_names.size()) {
    m_byHash.reserve(m_names.size());
    for (std::size_t nth = 0; nth < m_names.size(); ++nth) {
        m_byHash.push_back({m_hash(m_names[nth]), nth});
    }
    std::sort(m_byHash.begin(), m_byHash.end(), [](const Hashed& a, const Hashed& b) {
        return a.hash != b.hash ? a.hash < b.hash : a.nth < b.nth;
    });
    // Among the names of one hash, in file order, each is one with the first earlier name it
    // equals. Only those first names are compared, so that a name the file has many times
    // costs one comparison for each time.
    std::vector<std::size_t> firsts;
    for (auto run = m_byHash.begin(); run != m_byHash.end();) {
        const std::size_t hash = run->hash;
        firsts.clear();
        for (; run != m_byHash.end() && run->hash == hash; ++run) {
            const std::string_view name = m_names[run->nth];
            const auto same = std::find_if(firsts.begin(), firsts.end(), [&](std::size_t first) {
                return m_equal(m_names[first], name);
            });
            if (same == firsts.end()) {
                m_first[run->nth] = run->nth;
                firsts.push_back(run->nth);
            } else {
                m_first[run->nth] = *same;
            }
        }
    }
}

bool LoadedNames::Contains(std::string_view name) const {
    const std::size_t hash = m_hash(name);
    auto it = std::lower_bound(m_byHash.begin(), m_byHash.end(), hash,
                               [](const Hashed& h, std::size_t value) { return h.hash < value; });
    for (; it != m_byHash.end() && it->hash == hash; ++it) {
        if (m_equal(m_names[it->nth], name)) {
            return true;
        }
    }
    return false;
}
