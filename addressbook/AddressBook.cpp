#include "addressbook/AddressBook.h"

#include <vector>

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
        CopyField(record.name, name);
        VisitStoredFields(record, [&](const StoredKey& stored, auto& field) {
            if (stored.readBack) {
                file.GetString(name, stored.key, stored.missingValue, value);
                CopyField(field, value);
            }
        });
        table.Append(record);
    }
}

void LoadAddressBook(const std::string& folder, CIniFile& file, DeviceTable& table) {
    file.SetPath(folder + kAddressBookFileName);
    ReadDeviceSections(file, table);
}

std::string FormatAddressBook(const DeviceTable& table) {
    std::string out;
    out.reserve(table.Count() * 160);
    for (std::size_t i = 0; i < table.Count(); ++i) {
        const DeviceRecord& record = table.At(i);
        AppendProfileSection(out, FieldText(record.name));
        VisitStoredFields(record, [&](const StoredKey& stored, const auto& field) {
            AppendProfileKey(out, stored.key, FieldText(field));
        });
    }
    return out;
}

bool WriteAddressBook(const std::string& path, const DeviceTable& table) {
    return ReplaceFileContents(path, FormatAddressBook(table));
}
