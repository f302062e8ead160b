#include "durability/SavedBook.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "addressbook/AddressBook.h"
#include "base/FixedText.h"
#include "base/WholeFile.h"
#include "support/Sequence.h"

namespace {

DeviceRecord MakeDevice(std::size_t index, int generation) {
    Sequence random(static_cast<std::uint32_t>(index * 2 + static_cast<std::size_t>(generation)));
    DeviceRecord record{};
    CopyField(record.name, "Camera " + std::to_string(index) + (index % 7 ? "" : " Gate"));
    const bool cloud = index % 2 == 1;
    if (!cloud) {
        CopyField(record.serverIp, "192.168." + random.Number(256) + "." + random.Number(254));
    }
    const char* ports[] = {"80", "8080", "8000", "37777"};
    CopyField(record.serverPort, ports[random.Next(4)]);
    CopyField(record.account, generation == 0 ? "admin" : "operator");
    // Some passwords need protecting quotes, so the saved text is not uniform.
    CopyField(record.password, (index % 5 ? "" : " ") + random.Text("abcdefXYZ0123!#", 10));
    if (cloud) {
        CopyField(record.uuid, random.Text("0123456789ABCDEF", 20));
        CopyField(record.uuidIp, "10.1." + random.Number(256) + "." + random.Number(254));
        CopyField(record.uuidMac, "00:1A:" + random.Text("0123456789ABCDEF", 2) + ":3C:4D:5E");
    }
    const char* priorities[] = {"Frame", "Quality", ""};
    CopyField(record.priority, priorities[random.Next(3)]);
    return record;
}

// Where two byte strings first differ, for a failure message that says something.
std::size_t FirstDifference(const std::string& a, const std::string& b) {
    std::size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) {
        ++at;
    }
    return at;
}

}  // namespace

SavedBook MakeSavedBook(std::size_t devices, int generation) {
    SavedBook book;
    book.table.Reserve(devices);
    for (std::size_t i = 0; i < devices; ++i) {
        book.table.Append(MakeDevice(i, generation));
    }
    book.bytes = FormatAddressBook(book.table);
    return book;
}

int WhichBookSurvived(const std::string& folder, const SavedBook (&books)[2]) {
    const std::optional<std::string> bytes = ReadWholeFile(folder + kAddressBookFileName);
    if (!bytes) {
        ADD_FAILURE() << "the address book is gone";
        return -1;
    }
    const int which = *bytes == books[0].bytes ? 0 : *bytes == books[1].bytes ? 1 : -1;
    if (which < 0) {
        ADD_FAILURE() << "the address book is neither whole book: " << bytes->size()
                      << " bytes (books are " << books[0].bytes.size() << " and "
                      << books[1].bytes.size() << "), first differing at byte "
                      << FirstDifference(*bytes, books[0].bytes) << " and "
                      << FirstDifference(*bytes, books[1].bytes);
    }
    return which;
}

bool LoadsWholeBook(const std::string& folder, const SavedBook& book) {
    CIniFile file;
    DeviceTable loaded;
    LoadAddressBook(folder, file, loaded);
    const DeviceTable& expected = book.table;
    if (loaded.Count() != expected.Count()) {
        ADD_FAILURE() << "loading gave " << loaded.Count() << " of " << expected.Count()
                      << " devices";
        return false;
    }
    for (std::size_t i = 0; i < expected.Count(); ++i) {
        DeviceRecord record = expected.At(i);
        CopyField(record.priority, "");  // written, never read back
        if (std::memcmp(&record, &loaded.At(i), sizeof record) != 0) {
            ADD_FAILURE() << "loading changed device " << i;
            return false;
        }
    }
    return true;
}
