// Our reader of Windows profile (INI) files, with the rules of the platform's own reader:
//  - a file that starts with a UTF-16 byte-order mark is UTF-16, read in the system's ANSI
//    code page; any other file is text in that code page (a UTF-8 mark is skipped);
//  - the text is walked by characters of the ANSI code page: the second byte of a double-byte
//    character is never a line end, "[", "]", "=", a blank or a quote, and a lead byte that
//    cannot take the byte after it makes one "?" with it (ReplaceBrokenCharacters);
//  - lines end at CR, LF or any run of them; blanks, tabs and ^Z around a line are dropped;
//  - "[" starts a section whose name runs to the last "]" of the line, blanks dropped;
//  - any other line is a key: its name runs to the first "=", blanks dropped on both sides of
//    it; a line without "=" is a key without a value;
//  - sections and keys are looked up without regard to the case of ASCII letters
//    (EqualsIgnoringAsciiCase) after trimming the name asked for; the first section of a name
//    is the only one searched, and its first key wins;
//  - keys above the first section header belong to a section with an empty name.
// Nothing is ever rejected: a profile file has no syntax errors, only lines that match nothing.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/AnsiText.h"

// Two section names are one section to profile readers and writers when they are equal with
// blanks at either end dropped and ASCII letters compared without regard to case.
bool IsSameSectionName(std::string_view a, std::string_view b,
                       const AnsiCodePage& codePage = SystemCodePage());

struct SectionNameHash {
    AnsiCodePage codePage = SystemCodePage();
    std::size_t operator()(std::string_view name) const;
};
struct SectionNameEqual {
    AnsiCodePage codePage = SystemCodePage();
    bool operator()(std::string_view a, std::string_view b) const {
        return IsSameSectionName(a, b, codePage);
    }
};

// Names and values point into the document's own copy of the file, which lives as long as
// any copy of the document.
struct ProfileKey {
    std::string_view name;
    std::optional<std::string_view> value;  // empty optional: the line had no "="
};

// Its keys lie in the document's one array of all keys, which lives as long as any copy of
// the document.
struct ProfileSection {
    std::string_view name;
    std::span<const ProfileKey> keys;
};

class ProfileDocument {
public:
    // The file's bytes; codePage gives the ANSI code page's double-byte characters.
    static ProfileDocument Parse(std::string bytes,
                                 const AnsiCodePage& codePage = SystemCodePage());

    // Every section in file order, duplicates included; the first one is the unnamed section
    // of the keys above the first header.
    const std::vector<ProfileSection>& Sections() const { return m_sections; }

    // Whether the file was UTF-16: names that the code page cannot spell then read alike.
    bool FromUtf16() const { return m_fromUtf16; }

    // The raw value of a key (quotes still on), or nothing when the section, the key or its
    // "=" is missing. Constant time for any number of sections and keys, once the first
    // question has indexed the section names (a book read by position never needs them).
    std::optional<std::string_view> FindValue(std::string_view section, std::string_view key) const;

    // The same, in one section of Sections() by its index, whatever sections before it have its
    // name.
    std::optional<std::string_view> FindValueIn(std::size_t section, std::string_view key) const;

    // FindValueIn for several keys of different names, given without blanks around them, in
    // one walk of the section's keys: found[i] for keys[i].
    void FindValuesIn(std::size_t section, std::span<const std::string_view> keys,
                      std::span<std::optional<std::string_view>> found) const;

private:
    using NameIndex =
        std::unordered_map<std::string_view, std::size_t, SectionNameHash, SectionNameEqual>;

    void IndexLongSections();
    const NameIndex& FirstSectionByName() const;

    std::shared_ptr<const std::string> m_bytes;
    // Every key of the file in file order: one array instead of one per section keeps a book
    // of many small sections from costing an allocation (or several) for each.
    std::shared_ptr<const std::vector<ProfileKey>> m_keys;
    AnsiCodePage m_codePage;
    bool m_fromUtf16 = false;
    std::vector<ProfileSection> m_sections;
    // Section name -> index of its first section, made at the first FindValue.
    mutable std::optional<NameIndex> m_firstSectionByName;
    // For the sections with many keys only: section index -> key name -> index of its first
    // key. A few keys are found faster by looking at each.
    std::unordered_map<std::size_t, NameIndex> m_firstKeyByName;
    // The reading of a book asks for one section's keys in turn: the name asked last and the
    // section it found (or nothing) save hashing it again for each key.
    mutable std::string m_lastSectionAsked;
    mutable std::optional<std::size_t> m_lastSectionFound;
};

// Removes one pair of matching enclosing quotes (' or "), as the platform's reader does; a
// closing quote that is the second byte of a double-byte character does not count.
std::string_view StripEnclosingQuotes(std::string_view value,
                                      const AnsiCodePage& codePage = SystemCodePage());

// The blanks that profile readers drop around names and values; a byte that ends a
// double-byte character is never one.
bool IsProfileBlank(char c);
std::string_view TrimProfileBlanks(std::string_view text,
                                   const AnsiCodePage& codePage = SystemCodePage());
