// Our reader of Windows profile (INI) files, with the rules of the platform's own reader:
//  - lines end at CR, LF or any run of them; blanks, tabs and ^Z around a line are dropped;
//  - "[" starts a section whose name runs to the last "]" of the line, blanks dropped;
//  - any other line is a key: its name runs to the first "=", blanks dropped on both sides of
//    it; a line without "=" is a key without a value;
//  - sections and keys are looked up without regard to ASCII case after trimming the name
//    asked for; the first section of a name is the only one searched, and its first key wins;
//  - keys above the first section header belong to a section with an empty name.
// Nothing is ever rejected: a profile file has no syntax errors, only lines that match nothing.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Two section names are one section to profile readers and writers when they are equal with
// blanks at either end dropped and ASCII letters compared without regard to case.
bool IsSameSectionName(std::string_view a, std::string_view b);

struct SectionNameHash {
    std::size_t operator()(std::string_view name) const;
};
struct SectionNameEqual {
    bool operator()(std::string_view a, std::string_view b) const {
        return IsSameSectionName(a, b);
    }
};

// Names and values point into the document's own copy of the file, which lives as long as
// any copy of the document.
struct ProfileKey {
    std::string_view name;
    std::optional<std::string_view> value;  // empty optional: the line had no "="
};

struct ProfileSection {
    std::string_view name;
    std::vector<ProfileKey> keys;
};

class ProfileDocument {
public:
    static ProfileDocument Parse(std::string bytes);

    // Every section in file order, duplicates included; the first one is the unnamed section
    // of the keys above the first header.
    const std::vector<ProfileSection>& Sections() const { return m_sections; }

    // The raw value of a key (quotes still on), or nothing when the section, the key or its
    // "=" is missing.
    std::optional<std::string_view> FindValue(std::string_view section, std::string_view key) const;

private:
    const ProfileSection* FindSection(std::string_view name) const;

    std::shared_ptr<const std::string> m_bytes;
    std::vector<ProfileSection> m_sections;
    // Section name -> index of its first section.
    std::unordered_map<std::string_view, std::size_t, SectionNameHash, SectionNameEqual>
        m_firstSectionByName;
};

// Removes one pair of matching enclosing quotes (' or "), as the platform's reader does.
std::string_view StripEnclosingQuotes(std::string_view value);

// The blanks that profile readers drop around names and values.
bool IsProfileBlank(char c);
std::string_view TrimProfileBlanks(std::string_view text);
