#include "addressbook/Transfer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "addressbook/AddressBook.h"
#include "base/AtomicFile.h"
#include "base/FixedText.h"
#include "base/WholeFile.h"
#include "support/ScratchFolder.h"
#include "support/TestDevice.h"

namespace {

DeviceRecord MakeRecord(std::string_view name, std::string_view ip, std::string_view priority) {
    return MakeDevice({.name = name,
                       .serverIp = ip,
                       .serverPort = "80",
                       .account = "admin",
                       .password = "secret",
                       .uuid = ip.empty() ? "UUID-1" : "",
                       .priority = priority});
}

DeviceTable ThreeDevices() {
    DeviceTable table;
    table.Append(MakeRecord("Office", "10.0.0.5", "Frame"));
    table.Append(MakeRecord("Cloud", "", "Quality"));
    table.Append(MakeRecord("Gate", "10.0.0.9", ""));
    return table;
}

std::vector<std::string> Names(const DeviceTable& table) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < table.Count(); ++i) {
        names.emplace_back(FieldText(table.At(i).name));
    }
    return names;
}

TEST(ExportFilePathTest, AddsOneBackslashAndTheBookName) {
    EXPECT_EQ(ExportFilePath("C:\\Backup"), "C:\\Backup\\AddressBook.ini");
    EXPECT_EQ(ExportFilePath("C:\\"), "C:\\AddressBook.ini");
}

TEST(StoreTransferPathTest, TakesOnlyPathsThatFitWhole) {
    char member[kTransferPathSize] = "before";
    EXPECT_FALSE(StoreTransferPath(member, std::string(kTransferPathSize, 'x')));
    EXPECT_STREQ(member, "before");
    const std::string longest(kTransferPathSize - 1, 'y');
    EXPECT_TRUE(StoreTransferPath(member, longest));
    EXPECT_EQ(FieldText(member), longest);
}

TEST(ExportAddressBookTest, WritesTheSavedLayoutWithPriorityOverAnOldFile) {
    ScratchFolder folder;
    const std::string path = folder.File(kAddressBookFileName);
    folder.Write(kAddressBookFileName, std::string(5000, 'o'));
    const DeviceTable table = ThreeDevices();
    ASSERT_TRUE(ExportAddressBook(path, table));
    EXPECT_EQ(ReadWholeFile(path), FormatAddressBook(table));
    EXPECT_NE(ReadWholeFile(path)->find("PRIORITY=Quality\r\n"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(BackupPathFor(path)), std::string(5000, 'o'));
    EXPECT_FALSE(std::filesystem::exists(ReplacementPathFor(path)));
}

TEST(ExportAddressBookTest, FailureWritesNothing) {
    ScratchFolder folder;
    const DeviceTable table = ThreeDevices();
    // A folder that does not exist.
    EXPECT_FALSE(ExportAddressBook(folder.File("missing/AddressBook.ini"), table));
    // A path that does not fit the path member, though the file system would take it.
    const std::string deep = folder.File(std::string(200, 'd'));
    std::filesystem::create_directory(deep);
    EXPECT_FALSE(ExportAddressBook(deep + "/" + std::string(60, 'n') + ".ini", table));
    EXPECT_TRUE(std::filesystem::is_empty(deep));
    std::filesystem::remove(deep);
    // An old export whose replacement cannot be written stays whole.
    const std::string path = folder.File(kAddressBookFileName);
    folder.Write(kAddressBookFileName, "[Old]\r\n");
    std::filesystem::create_directory(ReplacementPathFor(path));
    EXPECT_FALSE(ExportAddressBook(path, table));
    EXPECT_EQ(ReadWholeFile(path), "[Old]\r\n");

    std::filesystem::remove(ReplacementPathFor(path));
    std::filesystem::remove(path);
    EXPECT_TRUE(std::filesystem::is_empty(folder.Folder()));
}

TEST(ImportAddressBookTest, ExportedBookComesBackInOrderWithoutPriorities) {
    ScratchFolder folder;
    const std::string path = folder.File("copy.ini");
    const DeviceTable exported = ThreeDevices();
    ASSERT_TRUE(ExportAddressBook(path, exported));

    DeviceTable table;
    table.Append(MakeRecord("Former", "1.1.1.1", "Frame"));
    ASSERT_TRUE(ImportAddressBook(path, table));
    ASSERT_EQ(Names(table), (std::vector<std::string>{"Office", "Cloud", "Gate"}));
    for (std::size_t i = 0; i < table.Count(); ++i) {
        DeviceRecord expected = exported.At(i);
        CopyField(expected.priority, "");
        EXPECT_EQ(std::memcmp(&table.At(i), &expected, sizeof expected), 0) << "record " << i;
    }
}

TEST(ImportAddressBookTest, FileIsTakenAsItIsWithoutMerging) {
    ScratchFolder folder;
    folder.Write("hand.ini", "[Twin]\r\nSERVERIP=1.1.1.1\r\n[Bare]\r\n[Twin]\r\n[]\r\n");
    DeviceTable table = ThreeDevices();
    ASSERT_TRUE(ImportAddressBook(folder.File("hand.ini"), table));
    EXPECT_EQ(Names(table), (std::vector<std::string>{"Twin", "Bare", "Twin"}));
    EXPECT_EQ(FieldText(table.At(1).serverIp), "192.168.1.10");
}

TEST(ImportAddressBookTest, FileWithoutSectionsGivesAnEmptyTable) {
    const std::pair<const char*, std::string> files[] = {
        {"empty", ""},
        {"text", "SERVERIP=10.0.0.5\r\nno sections here\r\n"},
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
    };
    ScratchFolder folder;
    for (const auto& [name, bytes] : files) {
        folder.Write(name, bytes);
        DeviceTable table = ThreeDevices();
        EXPECT_TRUE(ImportAddressBook(folder.File(name), table)) << name;
        EXPECT_EQ(table.Count(), 0u) << name;
    }
}

TEST(ImportAddressBookTest, FileThatCannotBeOpenedForWritingChangesNothing) {
    ScratchFolder folder;
    folder.Write("locked.ini", "[New]\r\n");
    const std::filesystem::path readOnly = folder.File("locked.ini");
    const auto readable = std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                          std::filesystem::perms::others_read;
    std::filesystem::permissions(readOnly, readable);
    std::filesystem::create_directory(folder.File("folder.ini"));

    for (const char* name : {"missing.ini", "folder.ini", "locked.ini", ""}) {
        DeviceTable table = ThreeDevices();
        EXPECT_FALSE(ImportAddressBook(name[0] ? folder.File(name) : "", table)) << name;
        EXPECT_EQ(Names(table), Names(ThreeDevices())) << name;
    }
    // A read-only file could not be removed with the folder on Windows.
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    EXPECT_EQ(ReadWholeFile(readOnly.string()), "[New]\r\n");
}

}  // namespace
