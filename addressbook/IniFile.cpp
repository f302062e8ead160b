#include "addressbook/IniFile.h"

#include <new>
#include <stdexcept>

void CIniFile::SetPath(std::string path) {
    m_path = std::move(path);
    m_document.reset();
    m_namedSections.clear();
}

std::optional<ReadProblem> CIniFile::Read() {
    return ReadFrom(ReadFileWhole(m_path));
}

std::optional<ReadProblem> CIniFile::ReadFrom(FileRead read) {
    if (read.problem) {
        ReadFrom(std::string());
        return read.problem;
    }
    return ReadFrom(std::move(read.bytes));
}

std::optional<ReadProblem> CIniFile::ReadFrom(std::string bytes) {
    m_namedSections.clear();
    m_document = ProfileDocument::Parse(std::string());
    try {
        m_document = ProfileDocument::Parse(std::move(bytes));
    } catch (const std::bad_alloc&) {
        return ReadProblem{ReadFailure::kTooLarge};
    } catch (const std::length_error&) {
        return ReadProblem{ReadFailure::kTooLarge};
    }
    return std::nullopt;
}

const ProfileDocument& CIniFile::Document() {
    if (!m_document) {
        Read();
    }
    return *m_document;
}

void CIniFile::GetSectionNames(std::vector<std::string>& names) {
    for (const std::string_view name : SectionNameViews()) {
        names.emplace_back(name);
    }
}

std::vector<std::string_view> CIniFile::SectionNameViews() {
    const std::vector<ProfileSection>& sections = Document().Sections();
    std::vector<std::string_view> names;
    names.reserve(sections.size());
    for (const ProfileSection& section : sections) {
        if (!section.name.empty()) {
            names.push_back(section.name);
        }
    }
    return names;
}

void CIniFile::GetString(std::string_view section, std::string_view key,
                         std::string_view defaultValue, std::string& value) {
    value.assign(Value(Document().FindValue(section, key), defaultValue));
}

std::optional<std::size_t> CIniFile::NamedSection(std::size_t nth) {
    const std::vector<ProfileSection>& sections = Document().Sections();
    if (m_namedSections.empty()) {
        for (std::size_t i = 0; i < sections.size(); ++i) {
            if (!sections[i].name.empty()) {
                m_namedSections.push_back(i);
            }
        }
    }
    return nth < m_namedSections.size() ? std::optional<std::size_t>(m_namedSections[nth])
                                        : std::nullopt;
}

void CIniFile::GetStringsOfSection(std::size_t nth, std::span<const std::string_view> keys,
                                   std::span<const std::string_view> defaultValues,
                                   std::span<std::string_view> values) {
    m_found.assign(keys.size(), std::nullopt);
    if (const std::optional<std::size_t> section = NamedSection(nth)) {
        Document().FindValuesIn(*section, keys, m_found);
    }
    for (std::size_t i = 0; i < keys.size(); ++i) {
        values[i] = Value(m_found[i], defaultValues[i]);
    }
}

std::string_view CIniFile::Value(std::optional<std::string_view> found,
                                 std::string_view defaultValue) const {
    const std::string_view text = StripEnclosingQuotes(found.value_or(defaultValue));
    return text.substr(0, static_cast<std::size_t>(m_bufferSize - 1));
}
