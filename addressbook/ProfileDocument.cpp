#include "addressbook/ProfileDocument.h"

#include <cstdint>

#include "base/AsciiCase.h"

bool IsSameSectionName(std::string_view a, std::string_view b) {
    return EqualsIgnoringAsciiCase(TrimProfileBlanks(a), TrimProfileBlanks(b));
}

std::size_t SectionNameHash::operator()(std::string_view name) const {
    std::size_t hash = 14695981039346656037ull & SIZE_MAX;  // FNV-1a
    for (char c : TrimProfileBlanks(name)) {
        hash = (hash ^ static_cast<unsigned char>(AsciiLower(c))) * (1099511628211ull & SIZE_MAX);
    }
    return hash;
}

bool IsProfileBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

std::string_view TrimProfileBlanks(std::string_view text) {
    while (!text.empty() && IsProfileBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsProfileBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view StripEnclosingQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

ProfileDocument ProfileDocument::Parse(std::string file) {
    ProfileDocument document;
    document.m_bytes = std::make_shared<const std::string>(std::move(file));
    std::string_view bytes = *document.m_bytes;
    // Keys above the first header belong to a section without a name, found only by asking
    // for the empty name.
    document.m_sections.push_back(ProfileSection{});
    document.m_firstSectionByName.emplace(std::string_view(), 0);
    // A file saved by an editor as UTF-8 may start with a byte-order mark, which the platform
    // skips; otherwise it would hide the first section header.
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (bytes.starts_with(kUtf8Bom)) {
        bytes.remove_prefix(kUtf8Bom.size());
    }
    while (!bytes.empty()) {
        std::size_t end = 0;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') {
            ++end;
        }
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == bytes.size() ? end : end + 1);

        line = TrimProfileBlanks(line);
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                const std::string_view name = TrimProfileBlanks(line.substr(1, close - 1));
                document.m_firstSectionByName.try_emplace(name, document.m_sections.size());
                document.m_sections.push_back(ProfileSection{name, {}});
                continue;
            }
            // A "[" without "]" is an ordinary key line, as for the platform's reader.
        }
        std::vector<ProfileKey>& keys = document.m_sections.back().keys;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            keys.push_back(ProfileKey{line, std::nullopt});
        } else {
            keys.push_back(ProfileKey{TrimProfileBlanks(line.substr(0, equals)),
                                      TrimProfileBlanks(line.substr(equals + 1))});
        }
    }
    return document;
}

const ProfileSection* ProfileDocument::FindSection(std::string_view name) const {
    const auto found = m_firstSectionByName.find(name);
    return found == m_firstSectionByName.end() ? nullptr : &m_sections[found->second];
}

std::optional<std::string_view> ProfileDocument::FindValue(std::string_view section,
                                                           std::string_view key) const {
    const ProfileSection* found = FindSection(section);
    if (found == nullptr) {
        return std::nullopt;
    }
    key = TrimProfileBlanks(key);
    for (const ProfileKey& candidate : found->keys) {
        if (EqualsIgnoringAsciiCase(candidate.name, key)) {
            return candidate.value;
        }
    }
    return std::nullopt;
}
