#include "addressbook/AddressBook.h"

#include <new>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "addressbook/ProfileDocument.h"
#include "addressbook/ProfileWriter.h"
#include "base/AtomicFile.h"
#include "base/FixedText.h"

void ReadDeviceSections(CIniFile& file, DeviceTable& table) {
    std::vector<std::string> names;
    file.GetSectionNames(names);
    table.Reserve(table.Count() + names.size());
    std::string value;
    for (const std::string& name : names) {
        DeviceRecord record{};
        CopyAnsiField(record.name, name);
        VisitStoredFields(record, [&](const StoredKey& stored, auto& field) {
            if (stored.readBack) {
                file.GetString(name, stored.key, stored.missingValue, value);
                CopyAnsiField(field, value);
            }
        });
        table.Append(record);
    }
}

std::optional<ReadProblem> ReadAddressBook(CIniFile& file, DeviceTable& table) {
    // Out of memory anywhere on the way (the file, its sections, the records) is one answer: a
    // book too large for this process, never an end without a word.
    try {
        if (std::optional<ReadProblem> problem = file.Read()) {
            return problem;
        }
        DeviceTable read;
        ReadDeviceSections(file, read);
        table = std::move(read);
    } catch (const std::bad_alloc&) {
        return ReadProblem{ReadFailure::kTooLarge};
    } catch (const std::length_error&) {
        return ReadProblem{ReadFailure::kTooLarge};
    }
    return std::nullopt;
}

std::optional<ReadProblem> LoadAddressBook(const std::string& folder, CIniFile& file,
                                           DeviceTable& table) {
    file.SetPath(folder + kAddressBookFileName);
    const std::optional<ReadProblem> problem = ReadAddressBook(file, table);
    if (problem && problem->reason == ReadFailure::kMissing) {
        return std::nullopt;
    }
    return problem;
}

namespace {

// One section of the saved file: where its name first comes in the table, and the record
// whose values it ends up with.
struct SavedSection {
    std::size_t first;
    std::size_t last;
};

// The sections the platform's writer makes of the table, key by key: a name that comes
// again (as a reader takes it: IsSameSectionName) finds the section its first record made,
// and its record's values overwrite that section's. So each section keeps the place and the
// spelling of the first record of its name and the values of the last.
std::vector<SavedSection> PlanSections(const DeviceTable& table, const LeadBytes& lead) {
    std::vector<SavedSection> sections;
    sections.reserve(table.Count());
    std::unordered_map<std::string_view, std::size_t, SectionNameHash, SectionNameEqual> byName(
        table.Count(), SectionNameHash{lead}, SectionNameEqual{lead});
    for (std::size_t i = 0; i < table.Count(); ++i) {
        const auto [found, isNew] =
            byName.try_emplace(FieldText(table.At(i).name), sections.size());
        if (isNew) {
            sections.push_back({i, i});
        } else {
            sections[found->second].last = i;
        }
    }
    return sections;
}

}  // namespace

std::string FormatAddressBook(const DeviceTable& table, const LeadBytes& lead) {
    std::string out;
    out.reserve(table.Count() * 160);
    for (const SavedSection& section : PlanSections(table, lead)) {
        AppendProfileSection(out, FieldText(table.At(section.first).name));
        VisitStoredFields(table.At(section.last), [&](const StoredKey& stored, const auto& field) {
            AppendProfileKey(out, stored.key, FieldText(field), lead);
        });
    }
    return out;
}

bool WriteAddressBook(const std::string& path, const DeviceTable& table) {
    return ReplaceFileContents(path, FormatAddressBook(table));
}
