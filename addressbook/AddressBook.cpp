#include "addressbook/AddressBook.h"

#include <deque>
#include <new>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "addressbook/LoadedNames.h"
#include "addressbook/ProfileDocument.h"
#include "addressbook/ProfileWriter.h"
#include "base/AtomicFile.h"
#include "base/FixedText.h"

namespace {

using NameSet = std::unordered_set<std::string_view, SectionNameHash, SectionNameEqual>;

}  // namespace

Renamings ReadDeviceSections(CIniFile& file, DeviceTable& table) {
    const std::vector<std::string_view> names = file.SectionNameViews();
    table.Reserve(table.Count() + names.size());
    constexpr std::size_t kNameRoom = sizeof(DeviceRecord::name) - 1;
    const AnsiCodePage& codePage = SystemCodePage();
    const bool fromUtf16 = file.FromUtf16();
    // Every name the book will hold, as loaded, so that a new one is new to all of them.
    std::vector<std::string_view> cuts;
    cuts.reserve(names.size());
    for (const std::string_view name : names) {
        cuts.push_back(CutAtCharacter(name, kNameRoom, codePage));
    }
    const LoadedNames loaded(std::move(cuts), codePage);
    std::deque<std::string> newNames;  // a deque keeps the views into it valid
    NameSet madeNew;
    Renamings renamed;
    // The keys a record is read from, in the order VisitStoredFields gives its fields.
    std::vector<std::string_view> keys;
    std::vector<std::string_view> defaults;
    const DeviceRecord blank{};
    VisitStoredFields(blank, [&](const StoredKey& stored, const auto&) {
        if (stored.readBack) {
            keys.emplace_back(stored.key);
            defaults.emplace_back(stored.missingValue);
        }
    });
    std::vector<std::string_view> values(keys.size());
    for (std::size_t nth = 0; nth < names.size(); ++nth) {
        const std::string_view name = names[nth];
        const std::string_view cut = loaded.Name(nth);
        DeviceRecord record{};
        const std::size_t first = loaded.FirstOf(nth);
        // A name the file has twice is one section to every profile reader, and one device
        // with the values of its first section; two names that only the cut or the code page
        // (its "?" for what it cannot spell) made one are two.
        const bool spelledAlike = fromUtf16 && name.find('?') != std::string_view::npos;
        const bool own =
            first == nth || (!spelledAlike && IsSameSectionName(names[first], name, codePage));
        if (own) {
            CopyField(record.name, cut);
        } else {
            newNames.push_back(UniqueDeviceName(
                cut,
                [&](std::string_view candidate) {
                    return loaded.Contains(candidate) || madeNew.contains(candidate);
                },
                codePage));
            madeNew.insert(newNames.back());
            CopyField(record.name, newNames.back());
            renamed.push_back({std::string(cut), newNames.back()});
        }
        file.GetStringsOfSection(own ? first : nth, keys, defaults, values);
        std::size_t nextValue = 0;
        VisitStoredFields(record, [&](const StoredKey& stored, auto& field) {
            if (stored.readBack) {
                CopyAnsiField(field, values[nextValue++]);
            }
        });
        table.Append(record);
    }
    return renamed;
}

namespace {

// The table from a file once `read` has given it its contents.
template <class Read>
std::optional<ReadProblem> ReadBook(CIniFile& file, const Read& read, DeviceTable& table,
                                    Renamings* renamed) {
    // Out of memory anywhere on the way (the file, its sections, the records) is one answer: a
    // book too large for this process, never an end without a word.
    try {
        if (std::optional<ReadProblem> problem = read()) {
            return problem;
        }
        DeviceTable devices;
        Renamings madeUnique = ReadDeviceSections(file, devices);
        table = std::move(devices);
        if (renamed != nullptr) {
            renamed->insert(renamed->end(), madeUnique.begin(), madeUnique.end());
        }
    } catch (const std::bad_alloc&) {
        return ReadProblem{ReadFailure::kTooLarge};
    } catch (const std::length_error&) {
        return ReadProblem{ReadFailure::kTooLarge};
    }
    return std::nullopt;
}

}  // namespace

std::optional<ReadProblem> ReadAddressBook(CIniFile& file, DeviceTable& table, Renamings* renamed) {
    return ReadBook(
        file, [&] { return file.Read(); }, table, renamed);
}

std::optional<ReadProblem> ReadAddressBookBytes(std::string bytes, DeviceTable& table,
                                                Renamings* renamed) {
    CIniFile file;
    return ReadBook(
        file, [&] { return file.ReadFrom(std::move(bytes)); }, table, renamed);
}

std::optional<ReadProblem> LoadAddressBook(const std::string& folder, CIniFile& file,
                                           DeviceTable& table, Renamings* renamed) {
    return LoadAddressBook(folder, ReadFileWhole(folder + kAddressBookFileName), file, table,
                           renamed);
}

std::optional<ReadProblem> LoadAddressBook(const std::string& folder, FileRead read, CIniFile& file,
                                           DeviceTable& table, Renamings* renamed) {
    file.SetPath(folder + kAddressBookFileName);
    const std::optional<ReadProblem> problem = ReadBook(
        file, [&] { return file.ReadFrom(std::move(read)); }, table, renamed);
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
std::vector<SavedSection> PlanSections(const DeviceTable& table, const AnsiCodePage& codePage) {
    std::vector<SavedSection> sections;
    sections.reserve(table.Count());
    std::unordered_map<std::string_view, std::size_t, SectionNameHash, SectionNameEqual> byName(
        table.Count(), SectionNameHash{codePage}, SectionNameEqual{codePage});
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

std::string FormatAddressBook(const DeviceTable& table, const AnsiCodePage& codePage) {
    std::string out;
    out.reserve(table.Count() * 160);
    for (const SavedSection& section : PlanSections(table, codePage)) {
        AppendProfileSection(out, FieldText(table.At(section.first).name));
        VisitStoredFields(table.At(section.last), [&](const StoredKey& stored, const auto& field) {
            AppendProfileKey(out, stored.key, FieldText(field), codePage);
        });
    }
    return out;
}

bool WriteAddressBook(const std::string& path, const DeviceTable& table) {
    return ReplaceFileContents(path, FormatAddressBook(table));
}
