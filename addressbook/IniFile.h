// A profile file on disk, read with the rules of ProfileDocument. The file is read once, by
// Read or at the first question asked of it, and kept; SetPath forgets it.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/ProfileDocument.h"
#include "base/WholeFile.h"

class CIniFile {
public:
    CIniFile() = default;
    explicit CIniFile(std::string path) : m_path(std::move(path)) {}

    std::string GetPath() const { return m_path; }
    void SetPath(std::string path);

    // Reads the file now. Nothing when it was read whole; otherwise why not (Missing for no
    // file), and the file then has no sections. A file too large to hold is TooLarge.
    std::optional<ReadProblem> Read();

    // Takes bytes already read from the file as what Read would have found: nothing, or
    // TooLarge.
    std::optional<ReadProblem> ReadFrom(std::string bytes);
    // Takes what a read of the file gave as Read takes it: a failed read leaves no sections.
    std::optional<ReadProblem> ReadFrom(FileRead read);

    // Appends the name of every section, in file order, duplicates included. A missing or
    // unreadable file has no sections.
    void GetSectionNames(std::vector<std::string>& names);
    // The same names without copies: they point into the file's text and hold until the file
    // is read again.
    std::vector<std::string_view> SectionNameViews();

    // The value of the key, enclosing quotes removed and cut to m_bufferSize - 1 bytes as the
    // platform's reader does, or the default when the section, the key or its "=" is missing.
    void GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                   std::string& value);

    // Whether the file was UTF-16, whose names the code page may spell alike.
    bool FromUtf16() { return Document().FromUtf16(); }

    // GetString for several keys of different names, given without blanks around them, in
    // the nth section that GetSectionNames lists, whatever sections before it have its name
    // (the platform's reader finds only the first of a name), in one walk of its keys:
    // values[i] for keys[i], or defaultValues[i]. Each points into the file's text or the
    // default, and holds until the file is read again.
    void GetStringsOfSection(std::size_t nth, std::span<const std::string_view> keys,
                             std::span<const std::string_view> defaultValues,
                             std::span<std::string_view> values);

private:
    const ProfileDocument& Document();
    // The Document().Sections() index of the nth section GetSectionNames lists.
    std::optional<std::size_t> NamedSection(std::size_t nth);
    std::string_view Value(std::optional<std::string_view> found,
                           std::string_view defaultValue) const;

    std::string m_path;
    int m_bufferSize = 8192;
    std::optional<ProfileDocument> m_document;
    // Document().Sections() index of each section GetSectionNames lists, made when first asked.
    std::vector<std::size_t> m_namedSections;
    std::vector<std::optional<std::string_view>> m_found;  // GetStringsOfSection's answers
};
