// Any bytes to the profile reader, read in a single-byte code page or in Big5 (by the first
// byte's lowest bit), then the questions the program asks of it, and two things that hold for
// every input:
//  - a lookup finds what a plain search of the listed sections finds (the first section of a
//    name, its first key, ASCII case folded, blanks around the asked names dropped), also in
//    sections whose keys are indexed, and so does a lookup in a section by its place;
//  - the sections written back with our writer and read again are the same sections, keys
//    and values as read: what the address book's save and load rely on.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/ProfileDocument.h"
#include "addressbook/ProfileWriter.h"
#include "base/AnsiText.h"

namespace {

// Inputs of thousands of lines would make every check quadratic; the first sections and keys
// are where lookups and duplicates meet anyway.
constexpr std::size_t kSectionsChecked = 64;
constexpr std::size_t kKeysChecked = 16;

void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "profile_fuzz: %s\n", what);
        std::abort();
    }
}

std::optional<std::string_view> PlainFindIn(const ProfileSection& section, std::string_view key,
                                            const AnsiCodePage& codePage) {
    key = TrimProfileBlanks(key, codePage);
    for (const ProfileKey& found : section.keys) {
        if (EqualsIgnoringAsciiCase(found.name, key, codePage)) {
            return found.value ? std::optional<std::string_view>(*found.value) : std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> PlainFind(const ProfileDocument& document, std::string_view section,
                                          std::string_view key, const AnsiCodePage& codePage) {
    section = TrimProfileBlanks(section, codePage);
    for (const ProfileSection& candidate : document.Sections()) {
        if (EqualsIgnoringAsciiCase(candidate.name, section, codePage)) {
            // later sections of the same name are never searched
            return PlainFindIn(candidate, key, codePage);
        }
    }
    return std::nullopt;
}

std::string FlipAsciiCase(std::string_view view) {
    std::string text(view);
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        } else if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

void CheckLookups(const ProfileDocument& document, const AnsiCodePage& codePage) {
    const std::vector<ProfileSection>& sections = document.Sections();
    for (std::size_t i = 0; i < sections.size() && i < kSectionsChecked; ++i) {
        std::vector<std::string> keys = {"SERVERIP", "uuid", " PASSWORD\t", "", "="};
        for (std::size_t k = 0; k < sections[i].keys.size() && k < kKeysChecked; ++k) {
            keys.emplace_back(sections[i].keys[k].name);
            keys.push_back(FlipAsciiCase(sections[i].keys[k].name));
        }
        // Every section by its place, one key at a time and several at once as a device is
        // read, finds what a plain search of its keys finds.
        std::vector<std::string_view> trimmed;
        for (const std::string& key : keys) {
            const std::string_view name = TrimProfileBlanks(key, codePage);
            if (std::none_of(trimmed.begin(), trimmed.end(), [&](std::string_view asked) {
                    return EqualsIgnoringAsciiCase(asked, name, codePage);
                })) {
                trimmed.push_back(name);
            }
        }
        std::vector<std::optional<std::string_view>> found(trimmed.size());
        document.FindValuesIn(i, trimmed, found);
        for (std::size_t k = 0; k < trimmed.size(); ++k) {
            const std::optional<std::string_view> plain =
                PlainFindIn(sections[i], trimmed[k], codePage);
            Require(document.FindValueIn(i, trimmed[k]) == plain && found[k] == plain,
                    "a lookup by place disagrees with a plain search of the section");
        }
        const std::string name(sections[i].name);
        for (const std::string& section : {name, FlipAsciiCase(name), " " + name + "\x1a"}) {
            for (const std::string& key : keys) {
                Require(
                    document.FindValue(section, key) == PlainFind(document, section, key, codePage),
                    "a lookup disagrees with a plain search of the sections");
            }
        }
    }
}

// The reader drops one pair of enclosing quotes from every value, and our writer adds one
// to every value that needs it: what goes in and comes out is the value as read.
void CheckRewrite(const ProfileDocument& document, const AnsiCodePage& codePage) {
    const std::vector<ProfileSection>& sections = document.Sections();
    std::string text;
    // The reader skips a byte-order mark at the very start of a file, so a first key whose
    // name starts with one would lose it; an empty first line keeps it in the name. The
    // address book never meets this: its files start with a section header.
    if (!sections[0].keys.empty()) {
        text += "\r\n";
    }
    for (std::size_t i = 0; i < sections.size(); ++i) {
        if (i > 0) {  // the first section holds the keys above every header
            AppendProfileSection(text, sections[i].name);
        }
        for (const ProfileKey& key : sections[i].keys) {
            if (key.value) {
                AppendProfileKey(text, key.name, StripEnclosingQuotes(*key.value, codePage),
                                 codePage);
            } else {
                text += key.name;
                text += "\r\n";
            }
        }
    }
    const ProfileDocument again = ProfileDocument::Parse(text, codePage);
    const std::vector<ProfileSection>& reread = again.Sections();
    Require(reread.size() == sections.size(), "rewriting changed the number of sections");
    for (std::size_t i = 0; i < sections.size(); ++i) {
        Require(reread[i].name == sections[i].name, "rewriting changed a section name");
        Require(reread[i].keys.size() == sections[i].keys.size(),
                "rewriting changed the number of keys of a section");
        for (std::size_t k = 0; k < sections[i].keys.size(); ++k) {
            const ProfileKey& before = sections[i].keys[k];
            const ProfileKey& after = reread[i].keys[k];
            Require(after.name == before.name, "rewriting changed a key name");
            Require(after.value.has_value() == before.value.has_value(),
                    "rewriting gave a key a value or took it away");
            Require(!before.value || StripEnclosingQuotes(*after.value, codePage) ==
                                         StripEnclosingQuotes(*before.value, codePage),
                    "rewriting changed a value");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const AnsiCodePage codePage = size > 0 && (data[0] & 1)
                                      ? AnsiCodePage{{{0x81, 0xFE}}, {{0x40, 0x7E}, {0xA1, 0xFE}}}
                                      : AnsiCodePage();
    const ProfileDocument document = ProfileDocument::Parse(std::string(bytes), codePage);
    Require(!document.Sections().empty() && document.Sections()[0].name.empty(),
            "the keys above the first header have no unnamed section");
    CheckLookups(document, codePage);
    // The writer writes nothing of a name or value from a NUL on, so that no caller can end a
    // line early for a reader: a file that holds one does not come back whole.
    if (bytes.find('\0') == std::string_view::npos) {
        CheckRewrite(document, codePage);
    }
    return 0;
}
