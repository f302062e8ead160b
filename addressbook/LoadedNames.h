#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "addressbook/ProfileDocument.h"
#include "base/AnsiCodePage.h"

// The names of a book's sections as the book takes them, sorted by their hash so that the
// names that are one to profile readers (IsSameSectionName) lie together: which of them came
// first, and whether a name is taken, without a node for each of many thousand names.
class LoadedNames {
public:
    LoadedNames(std::vector<std::string_view> names, const AnsiCodePage& codePage);

    std::string_view Name(std::size_t nth) const { return m_names[nth]; }
    // The place of the first name that is one with the nth.
    std::size_t FirstOf(std::size_t nth) const { return m_first[nth]; }
    bool Contains(std::string_view name) const;

private:
    struct Hashed {
        std::size_t hash;
        std::size_t nth;
    };

    std::vector<std::string_view> m_names;
    SectionNameHash m_hash;
    SectionNameEqual m_equal;
    std::vector<Hashed> m_byHash;  // by hash, then by place
    std::vector<std::size_t> m_first;
};
