#include "addressbook/ProfileDocument.h"

#include <algorithm>
#include <bitset>

bool IsSameSectionName(std::string_view a, std::string_view b, const AnsiCodePage& codePage) {
    return EqualsIgnoringAsciiCase(TrimProfileBlanks(a, codePage), TrimProfileBlanks(b, codePage),
                                   codePage);
}

std::size_t SectionNameHash::operator()(std::string_view name) const {
    return HashIgnoringAsciiCase(TrimProfileBlanks(name, codePage), codePage);
}

bool IsProfileBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

std::string_view TrimProfileBlanks(std::string_view text, const AnsiCodePage& codePage) {
    while (!text.empty() && IsProfileBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsProfileBlank(text.back()) && EndsInSingleByte(text, codePage)) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view StripEnclosingQuotes(std::string_view value, const AnsiCodePage& codePage) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front() && EndsInSingleByte(value, codePage)) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

namespace {

// A file that starts with a UTF-16 byte-order mark holds UTF-16 text, which the platform's
// reader reads in the ANSI code page; any other file is already in that code page. A file
// saved by an editor as UTF-8 may start with a byte-order mark, which the platform skips;
// otherwise it would hide the first section header.
bool IsUtf16(std::string_view bytes) {
    return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

std::string TextInAnsiCodePage(std::string bytes) {
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (bytes.starts_with(kUtf8Bom)) {
        return bytes.substr(kUtf8Bom.size());
    }
    if (!IsUtf16(bytes)) {
        return bytes;
    }
    const bool little = bytes.starts_with("\xFF\xFE");
    std::u16string wide((bytes.size() - 2) / 2, u'\0');  // an odd last byte is no character
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 + 2 * i]);
        const auto second = static_cast<unsigned char>(bytes[3 + 2 * i]);
        wide[i] = static_cast<char16_t>(little ? first | (second << 8) : (first << 8) | second);
    }
    return AnsiFromUtf16(wide);
}

// A line of text and the rest after its end (the CR or LF that is a character of its own).
std::string_view NextLine(std::string_view& bytes, const AnsiCodePage& codePage) {
    std::size_t end = 0;
    if (codePage.IsSingleByte()) {
        end = std::min(bytes.find('\n'), bytes.size());
        end = std::min(bytes.substr(0, end).find('\r'), end);
    } else {
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') {
            end += CharacterLength(bytes, end, codePage);
        }
    }
    const std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == bytes.size() ? end : end + 1);
    return line;
}

std::size_t CountOf(std::string_view bytes, char c) {
    std::size_t count = 0;
    for (std::size_t at = bytes.find(c); at != std::string_view::npos; at = bytes.find(c, at + 1)) {
        ++count;
    }
    return count;
}

// Beyond this many keys a section gets an index of its keys.
constexpr std::size_t kKeysSearchedOneByOne = 16;

}  // namespace

ProfileDocument ProfileDocument::Parse(std::string file, const AnsiCodePage& codePage) {
    ProfileDocument document;
    document.m_fromUtf16 = IsUtf16(file);
    document.m_bytes = std::make_shared<const std::string>(
        ReplaceBrokenCharacters(TextInAnsiCodePage(std::move(file)), codePage));
    document.m_codePage = codePage;
    std::string_view bytes = *document.m_bytes;
    auto keys = std::make_shared<std::vector<ProfileKey>>();
    // Where each section's keys begin in `keys`; the spans are made once it stops growing.
    std::vector<std::size_t> firstKeys{0};
    // Room for a section at each "[" and a key at each line feed saves growing them many
    // times over for a book of many devices. A book's lines are longer than 8 bytes: a file
    // of "[" or of blank lines gets no more room than that, and grows as it goes.
    const std::size_t room = bytes.size() / 8;
    const std::size_t headers = std::min(CountOf(bytes, '['), room);
    document.m_sections.reserve(headers + 1);
    firstKeys.reserve(headers + 2);
    keys->reserve(std::min(CountOf(bytes, '\n') + 1, room));
    // Keys above the first header belong to a section without a name, found only by asking
    // for the empty name.
    document.m_sections.push_back(ProfileSection{});
    while (!bytes.empty()) {
        const std::string_view line = TrimProfileBlanks(NextLine(bytes, codePage), codePage);
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = FindLastCharacter(line, ']', codePage);
            if (close != std::string_view::npos) {
                const std::string_view name =
                    TrimProfileBlanks(line.substr(1, close - 1), codePage);
                document.m_sections.push_back(ProfileSection{name, {}});
                firstKeys.push_back(keys->size());
                continue;
            }
            // A "[" without "]" is an ordinary key line, as for the platform's reader.
        }
        const std::size_t equals = FindCharacter(line, '=', codePage);
        if (equals == std::string_view::npos) {
            keys->push_back(ProfileKey{line, std::nullopt});
        } else {
            keys->push_back(ProfileKey{TrimProfileBlanks(line.substr(0, equals), codePage),
                                       TrimProfileBlanks(line.substr(equals + 1), codePage)});
        }
    }
    firstKeys.push_back(keys->size());
    for (std::size_t i = 0; i < document.m_sections.size(); ++i) {
        document.m_sections[i].keys = std::span<const ProfileKey>(*keys).subspan(
            firstKeys[i], firstKeys[i + 1] - firstKeys[i]);
    }
    document.m_keys = std::move(keys);
    document.IndexLongSections();
    return document;
}

void ProfileDocument::IndexLongSections() {
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        const std::span<const ProfileKey> keys = m_sections[i].keys;
        if (keys.size() <= kKeysSearchedOneByOne) {
            continue;
        }
        NameIndex index(keys.size(), SectionNameHash{m_codePage}, SectionNameEqual{m_codePage});
        for (std::size_t k = 0; k < keys.size(); ++k) {
            index.try_emplace(keys[k].name, k);
        }
        m_firstKeyByName.emplace(i, std::move(index));
    }
}

const ProfileDocument::NameIndex& ProfileDocument::FirstSectionByName() const {
    if (!m_firstSectionByName) {
        NameIndex index(m_sections.size(), SectionNameHash{m_codePage},
                        SectionNameEqual{m_codePage});
        for (std::size_t i = 0; i < m_sections.size(); ++i) {
            index.try_emplace(m_sections[i].name, i);
        }
        m_firstSectionByName = std::move(index);
    }
    return *m_firstSectionByName;
}

std::optional<std::string_view> ProfileDocument::FindValue(std::string_view section,
                                                           std::string_view key) const {
    if (m_lastSectionAsked.empty() || section != m_lastSectionAsked) {
        const NameIndex& firstSectionByName = FirstSectionByName();
        const auto found = firstSectionByName.find(section);
        m_lastSectionAsked = section;
        m_lastSectionFound = found == firstSectionByName.end()
                                 ? std::nullopt
                                 : std::optional<std::size_t>(found->second);
    }
    if (!m_lastSectionFound) {
        return std::nullopt;
    }
    return FindValueIn(*m_lastSectionFound, key);
}

std::optional<std::string_view> ProfileDocument::FindValueIn(std::size_t sectionIndex,
                                                             std::string_view key) const {
    const std::span<const ProfileKey> keys = m_sections[sectionIndex].keys;
    key = TrimProfileBlanks(key, m_codePage);
    if (const auto indexed =
            m_firstKeyByName.empty() ? m_firstKeyByName.end() : m_firstKeyByName.find(sectionIndex);
        indexed != m_firstKeyByName.end()) {
        const auto first = indexed->second.find(key);
        return first == indexed->second.end() ? std::nullopt : keys[first->second].value;
    }
    for (const ProfileKey& candidate : keys) {
        if (EqualsIgnoringAsciiCase(candidate.name, key, m_codePage)) {
            return candidate.value;
        }
    }
    return std::nullopt;
}

void ProfileDocument::FindValuesIn(std::size_t sectionIndex, std::span<const std::string_view> keys,
                                   std::span<std::optional<std::string_view>> found) const {
    const std::span<const ProfileKey> sectionKeys = m_sections[sectionIndex].keys;
    // Each key asked is answered by the first of the section's keys of its name, value or not.
    constexpr std::size_t kAskedAtOnce = 32;
    if (sectionKeys.size() > kKeysSearchedOneByOne || keys.size() > kAskedAtOnce) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            found[i] = FindValueIn(sectionIndex, keys[i]);
        }
        return;
    }
    std::bitset<kAskedAtOnce> answered;
    std::fill(found.begin(), found.end(), std::nullopt);
    // A section that a writer made holds the keys in the order asked: each is first compared
    // with the key asked after the one answered last.
    std::size_t expected = 0;
    for (const ProfileKey& candidate : sectionKeys) {
        if (expected < keys.size() && !answered[expected] &&
            EqualsIgnoringAsciiCase(candidate.name, keys[expected], m_codePage)) {
            found[expected] = candidate.value;
            answered[expected] = true;
            ++expected;
            continue;
        }
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (!answered[i] && EqualsIgnoringAsciiCase(candidate.name, keys[i], m_codePage)) {
                found[i] = candidate.value;
                answered[i] = true;
                expected = i + 1;
            }
        }
    }
}
