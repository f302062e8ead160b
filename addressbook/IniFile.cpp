#include "addressbook/IniFile.h"

#include <new>
#include <stdexcept>

void CIniFile::SetPath(std::string path) {
    m_path = std::move(path);
    m_document.reset();
    m_namedSections.clear();
}

std::optional<ReadProblem> CIniFile::Read() {
    FileRead read = ReadFileWhole(m_path);
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
    for (const ProfileSection& section : Document().Sections()) {
        if (!section.name.empty()) {
            names.emplace_back(section.name);
        }
    }
}

void CIniFile::GetString(std::string_view section, std::string_view key,
                         std::string_view defaultValue, std::string& value) {
    value.assign(Value(Document().FindValue(section, key), defaultValue));
}

void CIniFile::GetStringOfSection(std::size_t nth, std::string_view key,
                                  std::string_view defaultValue, std::string& value) {
    const std::vector<ProfileSection>& sections = Document().Sections();
    if (m_namedSections.empty()) {
        for (std::size_t i = 0; i < sections.size(); ++i) {
            if (!sections[i].name.empty()) {
                m_namedSections.push_back(i);
            }
        }
    }
    const std::optional<std::string_view> found =
        nth < m_namedSections.size() ? Document().FindValueIn(m_namedSections[nth], key)
                                     : std::nullopt;
    value.assign(Value(found, defaultValue));
}

std::string_view CIniFile::Value(std::optional<std::string_view> found,
                                 std::string_view defaultValue) const {
    const std::string_view text = StripEnclosingQuotes(found.value_or(defaultValue));
    return text.substr(0, static_cast<std::size_t>(m_bufferSize - 1));
}
