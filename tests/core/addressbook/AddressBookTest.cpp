#include "addressbook/AddressBook.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "base/AtomicFile.h"
#include "base/FixedText.h"
#include "base/WholeFile.h"
#include "support/ScratchFolder.h"
#include "support/TestDevice.h"

namespace {

DeviceRecord MakeRecord(std::string_view name, std::string_view ip, std::string_view uuid = "") {
    return MakeDevice({.name = name,
                       .serverIp = ip,
                       .serverPort = "80",
                       .account = "admin",
                       .password = " pass ",
                       .uuid = uuid,
                       .priority = "Frame"});
}

DeviceTable Load(const ScratchFolder& folder) {
    CIniFile file;
    DeviceTable table;
    LoadAddressBook(folder.Folder(), file, table);
    return table;
}

TEST(AddressBookTest, SectionWithoutKeysTakesTheDefaults) {
    ScratchFolder folder;
    folder.Write(kAddressBookFileName, "[Bare]\n[Cloud]\nSERVERIP=\nUUID=ABC\nPRIORITY=Frame\n");
    const DeviceTable table = Load(folder);
    ASSERT_EQ(table.Count(), 2u);
    const DeviceRecord& bare = table.At(0);
    EXPECT_EQ(FieldText(bare.serverIp), "192.168.1.10");
    EXPECT_EQ(FieldText(bare.serverPort), "80");
    EXPECT_EQ(FieldText(bare.account), "admin");
    EXPECT_EQ(FieldText(bare.password), "tulpo");
    EXPECT_EQ(FieldText(bare.uuid), "");
    // A key present with an empty value stays empty; PRIORITY is never read back.
    const DeviceRecord& cloud = table.At(1);
    EXPECT_EQ(FieldText(cloud.serverIp), "");
    EXPECT_EQ(FieldText(cloud.uuid), "ABC");
    EXPECT_EQ(FieldText(cloud.priority), "");
}

TEST(AddressBookTest, MissingFileIsAnEmptyBook) {
    ScratchFolder folder;
    EXPECT_EQ(Load(folder).Count(), 0u);
}

TEST(AddressBookTest, OverlongNamesAndValuesAreCutToTheirFields) {
    ScratchFolder folder;
    folder.Write(kAddressBookFileName, "[" + std::string(100, 'N') + "]\nSERVERPORT=123456789\n" +
                                           "UUID=" + std::string(9000, 'U') + "\n");
    const DeviceTable table = Load(folder);
    ASSERT_EQ(table.Count(), 1u);
    EXPECT_EQ(FieldText(table.At(0).name), std::string(31, 'N'));
    EXPECT_EQ(FieldText(table.At(0).serverPort), "1234567");
    EXPECT_EQ(FieldText(table.At(0).uuid), std::string(127, 'U'));
}

TEST(AddressBookTest, SaveAndLoadKeepEveryDeviceAndValueInOrder) {
    // Far more sections than fit in one 8 KiB list of names, with awkward values.
    DeviceTable table;
    for (int i = 0; i < 3000; ++i) {
        DeviceRecord record = MakeRecord("Device number " + std::to_string(i), "10.0.0.1",
                                         i % 2 ? "UUID-" + std::to_string(i) : "");
        CopyField(record.account, i % 3 ? "'quoted'" : "\"double\"");
        CopyField(record.uuidMac, "\t00:11:22:33:44:55 ");
        table.Append(record);
    }
    ScratchFolder folder;
    ASSERT_TRUE(WriteAddressBook(folder.File(kAddressBookFileName), table));
    const DeviceTable loaded = Load(folder);
    ASSERT_EQ(loaded.Count(), table.Count());
    for (std::size_t i = 0; i < table.Count(); ++i) {
        DeviceRecord expected = table.At(i);
        CopyField(expected.priority, "");  // written, not read back
        ASSERT_EQ(std::memcmp(&loaded.At(i), &expected, sizeof expected), 0) << "record " << i;
    }
}

TEST(AddressBookTest, SavedBookHasTheStoredLayout) {
    DeviceTable table;
    table.Append(MakeRecord("Office", "10.0.0.5"));
    EXPECT_EQ(FormatAddressBook(table),
              "[Office]\r\nSERVERIP=10.0.0.5\r\nSERVERPORT=80\r\nACCOUNT=admin\r\n"
              "PASSWORD=\" pass \"\r\nUUID=\r\nUUIDIP=\r\nUUIDMAC=\r\nPRIORITY=Frame\r\n");
    EXPECT_EQ(FormatAddressBook(DeviceTable()), "");
}

// A book read from a hand-edited or imported file may hold a name twice, or in spellings
// the file takes for one section; each such name is saved once.
TEST(AddressBookTest, NamesOfOneSectionAreSavedOnceWithTheLastValues) {
    DeviceTable table;
    for (const auto& [name, ip] : {std::pair{"Gate", "10.0.0.1"},
                                   {"Lobby", "10.0.0.2"},
                                   {"GATE", "10.0.0.3"},
                                   {" gate\t", "10.0.0.4"},
                                   {"Yard", "10.0.0.5"}}) {
        table.Append(MakeRecord(name, ip));
    }
    const std::string saved = FormatAddressBook(table);
    EXPECT_EQ(saved.find("[GATE]"), std::string::npos);
    EXPECT_EQ(saved.find("gate"), std::string::npos);
    ScratchFolder folder;
    folder.Write(kAddressBookFileName, saved);
    const DeviceTable loaded = Load(folder);
    ASSERT_EQ(loaded.Count(), 3u);
    const char* expected[][2] = {{"Gate", "10.0.0.4"}, {"Lobby", "10.0.0.2"}, {"Yard", "10.0.0.5"}};
    for (std::size_t i = 0; i < loaded.Count(); ++i) {
        EXPECT_EQ(FieldText(loaded.At(i).name), expected[i][0]);
        EXPECT_EQ(FieldText(loaded.At(i).serverIp), expected[i][1]);
    }
}

TEST(AddressBookTest, FailedSaveLeavesTheOldFileAsItWas) {
    ScratchFolder folder;
    const std::string path = folder.File(kAddressBookFileName);
    folder.Write(kAddressBookFileName, "[Old]\r\n");
    // The scratch name is taken by a folder, so the new file cannot be written.
    std::filesystem::create_directory(ReplacementPathFor(path));
    DeviceTable table;
    table.Append(MakeRecord("New", "1.2.3.4"));
    EXPECT_FALSE(WriteAddressBook(path, table));
    EXPECT_EQ(ReadWholeFile(path), "[Old]\r\n");
}

TEST(AddressBookTest, SaveReplacesTheFileAndLeavesNoScratchBehind) {
    ScratchFolder folder;
    const std::string path = folder.File(kAddressBookFileName);
    folder.Write(kAddressBookFileName, std::string(100000, 'x'));
    EXPECT_TRUE(WriteAddressBook(path, DeviceTable()));
    EXPECT_EQ(ReadWholeFile(path), "");
    EXPECT_FALSE(std::filesystem::exists(ReplacementPathFor(path)));
}

}  // namespace
