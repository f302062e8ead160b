#include "addressbook/IniFile.h"

#include <new>
#include <stdexcept>

void CIniFile::SetPath(std::string path) {
    m_path = std::move(path);
    m_document.reset();
}

std::optional<ReadProblem> CIniFile::Read() {
    m_document = ProfileDocument::Parse(std::string());
    FileRead read = ReadFileWhole(m_path);
    if (read.problem) {
        return read.problem;
    }
    try {
        m_document = ProfileDocument::Parse(std::move(read.bytes));
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
    const std::optional<std::string_view> found = Document().FindValue(section, key);
    const std::string_view text = StripEnclosingQuotes(found.value_or(defaultValue));
    value.assign(text.substr(0, static_cast<std::size_t>(m_bufferSize - 1)));
}
