#include "addressbook/AddressBook.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <utility>

#include "addressbook/ProfileDocument.h"
#include "addressbook/Transfer.h"
#include "base/AtomicFile.h"
#include "base/FixedText.h"
#include "base/ScratchName.h"
#include "base/WholeFile.h"
#include "base/WidePath.h"
#include "support/Big5.h"
#include "support/ScratchFolder.h"
#include "support/TestDevice.h"

// Allocations of at least this many bytes fail while a test sets it, as they do when a 32-bit
// process asks for a few hundred megabytes.
static std::size_t g_failAllocationsFrom = SIZE_MAX;

// Not inlined: the compiler would then see malloc's memory reach free through new and delete
// and take the pair for a mismatch.
[[gnu::noinline]] void* operator new(std::size_t size) {
    void* memory = size < g_failAllocationsFrom ? std::malloc(size ? size : 1) : nullptr;
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}
[[gnu::noinline]] void operator delete(void* memory) noexcept {
    std::free(memory);
}
[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace {

class FailingAllocations {
public:
    explicit FailingAllocations(std::size_t from) { g_failAllocationsFrom = from; }
    ~FailingAllocations() { g_failAllocationsFrom = SIZE_MAX; }
    FailingAllocations(const FailingAllocations&) = delete;
    FailingAllocations& operator=(const FailingAllocations&) = delete;
};

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

// No book yet is an empty book; a book that is there but cannot be read is not, and says why.
TEST(AddressBookTest, BookThatCannotBeReadIsToldApartFromNoBook) {
    ScratchFolder none;
    CIniFile file;
    DeviceTable table;
    EXPECT_FALSE(LoadAddressBook(none.Folder(), file, table));
    EXPECT_EQ(table.Count(), 0u);

    ScratchFolder folder;
    std::filesystem::create_directory(folder.File(kAddressBookFileName));
    const std::optional<ReadProblem> problem = LoadAddressBook(folder.Folder(), file, table);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->reason, ReadFailure::kRefused);
}

TEST(AddressBookTest, BookTooLargeToHoldIsNeitherLoadedNorImported) {
    DeviceTable devices;
    for (int i = 0; i < 2000; ++i) {
        devices.Append(MakeRecord("Device " + std::to_string(i), "10.0.0.1"));
    }
    const std::string book = FormatAddressBook(devices);
    ScratchFolder folder;
    folder.Write(kAddressBookFileName, book);
    // The file's own buffer, or what is built from it (its records need more than its bytes).
    for (const std::size_t failFrom : {book.size(), book.size() + 1}) {
        CIniFile file;
        DeviceTable table;
        std::optional<ReadProblem> problem;
        {
            const FailingAllocations failing(failFrom);
            problem = LoadAddressBook(folder.Folder(), file, table);
        }
        ASSERT_TRUE(problem) << failFrom;
        EXPECT_EQ(problem->reason, ReadFailure::kTooLarge) << failFrom;
        EXPECT_EQ(table.Count(), 0u) << failFrom;

        DeviceTable kept;
        kept.Append(MakeRecord("Kept", "10.0.0.9"));
        bool imported = true;
        {
            const FailingAllocations failing(failFrom);
            imported = ImportAddressBook(folder.File(kAddressBookFileName), kept);
        }
        EXPECT_FALSE(imported) << failFrom;
        ASSERT_EQ(kept.Count(), 1u) << failFrom;
    }
    EXPECT_EQ(ReadWholeFile(folder.File(kAddressBookFileName)), book);
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

    // Double-byte names that differ only in a second byte are two sections.
    DeviceTable big5;
    big5.Append(MakeRecord(kBigDoor, "10.0.0.6"));
    big5.Append(MakeRecord(kEntrance, "10.0.0.7"));
    big5.Append(MakeRecord(std::string(kEntrance) + "x", "10.0.0.8"));
    big5.Append(MakeRecord(std::string(kEntrance) + "X", "10.0.0.9"));
    const std::string sections = FormatAddressBook(big5, kBig5CodePage);
    const ProfileDocument document = ProfileDocument::Parse(sections, kBig5CodePage);
    ASSERT_EQ(document.Sections().size(), 4u);  // the unnamed one first
    EXPECT_EQ(document.FindValue(kBigDoor, "SERVERIP"), "10.0.0.6");
    EXPECT_EQ(document.FindValue(kEntrance, "SERVERIP"), "10.0.0.7");
    EXPECT_EQ(document.FindValue(std::string(kEntrance) + "x", "SERVERIP"), "10.0.0.9");
}

// Names that become one at load (cut to the field, or UTF-16 names that the code page turns
// into the same "?"s) stay two devices, each with its own section's values, through a save.
TEST(AddressBookTest, NamesThatBecomeOneAtLoadStayTwoDevices) {
    const std::string longName(31, 'n');
    const std::u16string front = u"\u524D\u9580", back = u"\u5F8C\u9580";
    std::u16string wide =
        u"\uFEFF[" + front + u"]\r\nSERVERIP=10.0.0.3\r\n[" + back + u"]\r\nSERVERIP=10.0.0.4\r\n";
    const struct {
        const char* what;
        std::string bytes;
    } files[] = {
        {"cut to 31 bytes", "[" + longName + "A]\r\nSERVERIP=10.0.0.1\r\n[" + longName +
                                "B]\r\nSERVERIP=10.0.0.2\r\n"},
        {"UTF-16", std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2)},
    };
    for (const auto& file : files) {
        ScratchFolder folder;
        folder.Write(kAddressBookFileName, file.bytes);
        CIniFile ini;
        DeviceTable table;
        Renamings renamed;
        ASSERT_FALSE(LoadAddressBook(folder.Folder(), ini, table, &renamed)) << file.what;
        ASSERT_TRUE(WriteAddressBook(folder.File(kAddressBookFileName), table));
        const DeviceTable loaded = Load(folder);
        ASSERT_EQ(loaded.Count(), 2u) << file.what;
        EXPECT_NE(FieldText(loaded.At(0).serverIp), FieldText(loaded.At(1).serverIp)) << file.what;
        // Renamed only where they met, and then as the second one.
        if (IsSameSectionName(FieldText(table.At(1).name), FieldText(table.At(0).name)) ||
            !renamed.empty()) {
            ASSERT_EQ(renamed.size(), 1u) << file.what;
            EXPECT_EQ(renamed[0].to, FieldText(table.At(1).name)) << file.what;
            EXPECT_LE(renamed[0].to.size(), 31u) << file.what;
            EXPECT_TRUE(renamed[0].to.ends_with(" (2)")) << file.what;
        }
    }
}

TEST(AddressBookTest, FailedSaveLeavesTheOldFileAsItWas) {
    namespace fs = std::filesystem;
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const std::pair<const char*, void (*)(const std::string&)> blocks[] = {
        // The scratch name is taken by a folder, so the new file cannot be written.
        {"scratch",
         [](const std::string& path) { fs::create_directory(ReplacementPathFor(path)); }},
        // Windows refuses to replace a read-only file; so do we wherever we run, root or not.
        {"read-only", [](const std::string& path) { fs::permissions(path, readOnly); }},
    };
    DeviceTable table;
    table.Append(MakeRecord("New", "1.2.3.4"));
    for (const auto& [what, block] : blocks) {
        ScratchFolder folder;
        const std::string path = folder.File(kAddressBookFileName);
        folder.Write(kAddressBookFileName, "[Old]\r\n");
        block(path);
        EXPECT_FALSE(WriteAddressBook(path, table)) << what;
        EXPECT_EQ(ReadWholeFile(path), "[Old]\r\n") << what;
        EXPECT_FALSE(fs::exists(BackupPathFor(path))) << what;
        fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    }
}

TEST(AddressBookTest, SaveKeepsTheFileItReplacesAndLeavesNoScratchBehind) {
    ScratchFolder folder;
    const std::string path = folder.File(kAddressBookFileName);
    DeviceTable table;
    table.Append(MakeRecord("First", "10.0.0.1"));
    ASSERT_TRUE(WriteAddressBook(path, table));
    EXPECT_FALSE(std::filesystem::exists(BackupPathFor(path)));  // nothing was replaced

    const std::string old(100000, 'x');
    folder.Write(kAddressBookFileName, old);
    EXPECT_TRUE(WriteAddressBook(path, DeviceTable()));
    EXPECT_EQ(ReadWholeFile(path), "");
    EXPECT_EQ(ReadWholeFile(BackupPathFor(path)), old);
    // One generation: the next save keeps only the book it replaces.
    EXPECT_TRUE(WriteAddressBook(path, table));
    EXPECT_EQ(ReadWholeFile(BackupPathFor(path)), "");
    EXPECT_EQ(ReadWholeFile(path), FormatAddressBook(table));
    EXPECT_FALSE(std::filesystem::exists(ReplacementPathFor(path)));
}

TEST(AddressBookTest, SaveClearsOnlyTheScratchFilesThisComputersKilledSavesLeft) {
    ScratchFolder folder;
    const ScratchOwner self = ThisScratchOwner();
    // No system gives out a process id this high: a save that was killed.
    const ScratchOwner killed{0x7FFFFFF0, self.computer};
    // The scratch name of a path near the limit takes the short form, which a path that fits
    // always fits: both forms are told apart the same way.
    const std::string paths[] = {folder.File(kAddressBookFileName),
                                 folder.FileAtLength(kAddressBookFileName, kPathLimit - 8)};
    for (const std::string& path : paths) {
        const std::pair<std::string, bool> files[] = {
            {ScratchPathFor(path, killed), false},
            // Another computer's may be mid-save, whatever its name shares with this one's.
            {ScratchPathFor(path, {killed.process, "X" + self.computer}), true},
            {ScratchPathFor(path, {killed.process, self.computer + "X"}), true},
            {ScratchPathFor(path, {killed.process, "X." + self.computer}), true},
            {ScratchPathFor(path + "2", killed), true},
            {path + ".1x." + self.computer + ".new", true},
            {path + ".." + self.computer + ".new", true},
        };
        for (const auto& [file, kept] : files) {
            folder.Write(file.substr(folder.Folder().size()), "x");
        }
        DeviceTable table;
        table.Append(MakeRecord("New", "1.2.3.4"));
        ASSERT_TRUE(WriteAddressBook(path, table)) << path;
        EXPECT_TRUE(FitsPathLimit(ReplacementPathFor(path))) << path;
        EXPECT_FALSE(std::filesystem::exists(ReplacementPathFor(path))) << path;
        for (const auto& [file, kept] : files) {
            EXPECT_EQ(std::filesystem::exists(file), kept) << file;
        }
    }
}

}  // namespace
