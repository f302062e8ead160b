#include "addressbook/ProfileDocument.h"

#include "base/AsciiCase.h"

namespace {

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = AsciiLower(c);
    }
    return lower;
}

}  // namespace

bool IsProfileBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' ||
           c == '\x1a';
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

ProfileDocument ProfileDocument::Parse(std::string_view bytes) {
    ProfileDocument document;
    // Keys above the first header belong to a section without a name, found only by asking
    // for the empty name.
    document.m_sections.push_back(ProfileSection{});
    document.m_firstSectionByName.emplace(std::string(), 0);
    // A file saved by an editor as UTF-8 may start with a byte-order mark, which the platform
    // skips; otherwise it would hide the first section header.
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (bytes.starts_with(kUtf8Bom)) {
        bytes.remove_prefix(kUtf8Bom.size());
    }
    while (!bytes.empty()) {
        const std::size_t end = bytes.find_first_of("\r\n");
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);

        line = TrimProfileBlanks(line);
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                std::string name(TrimProfileBlanks(line.substr(1, close - 1)));
                document.m_firstSectionByName.try_emplace(LowerAscii(name),
                                                          document.m_sections.size());
                document.m_sections.push_back(ProfileSection{std::move(name), {}});
                continue;
            }
            // A "[" without "]" is an ordinary key line, as for the platform's reader.
        }
        std::vector<ProfileKey>& keys = document.m_sections.back().keys;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            keys.push_back(ProfileKey{std::string(line), std::nullopt});
        } else {
            keys.push_back(ProfileKey{std::string(TrimProfileBlanks(line.substr(0, equals))),
                                      std::string(TrimProfileBlanks(line.substr(equals + 1)))});
        }
    }
    return document;
}

const ProfileSection* ProfileDocument::FindSection(std::string_view name) const {
    const auto found = m_firstSectionByName.find(LowerAscii(TrimProfileBlanks(name)));
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
            if (!candidate.value) {
                return std::nullopt;
            }
            return std::string_view(*candidate.value);
        }
    }
    return std::nullopt;
}
