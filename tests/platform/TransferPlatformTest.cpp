// The address book's files on the real platform: the program folder in the ANSI code page for
// the viewer, a file that another program holds, and a folder the code page cannot spell.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "addressbook/AddressBook.h"
#include "addressbook/Transfer.h"
#include "app/AnsiPath.h"
#include "base/AtomicFile.h"
#include "base/FixedText.h"
#include "base/WholeFile.h"
#include "base/WidePath.h"
#include "support/ScratchFolder.h"
#include "support/TestDevice.h"

namespace {

struct PathCase {
    const wchar_t* wide;
    std::optional<std::string> ansi;
};

TEST(AnsiPathTest, TakesOnlyPathsTheCodePageSpellsExactly) {
    const PathCase common[] = {
        {L"C:\\Backup\\AddressBook.ini", "C:\\Backup\\AddressBook.ini"},
        {L"", std::nullopt},
        {L"C:\\\U0001F4F7", std::nullopt},  // no ANSI code page has it
    };
    // Best-fit mapping would turn a letter the code page lacks into a near one: another file.
    const PathCase western[] = {
        {L"C:\\Caf\u00e9", "C:\\Caf\xe9"},
        {L"C:\\\u0101", std::nullopt},
        {L"C:\\\u53f0\u5317", std::nullopt},
    };
    const PathCase chinese[] = {
        {L"C:\\\u53f0\u5317", "C:\\\xa5\x78\xa5\x5f"},
        {L"C:\\\u0101", std::nullopt},
    };
    const auto check = [](const auto& cases) {
        for (const PathCase& c : cases) {
            EXPECT_EQ(AnsiPath(c.wide), c.ansi) << c.ansi.value_or("(none)");
        }
    };
    check(common);
    switch (GetACP()) {
        case 1252:
            check(western);
            break;
        case 950:
            check(chinese);
            break;
        default:
            GTEST_SKIP() << "no cases for code page " << GetACP();
    }
}

// Neither the start-up's load, nor a save, nor an import takes a file another program holds
// for an empty one or writes over it.
TEST(HeldFileTest, FileAnotherProgramHoldsIsNeitherReadNorReplaced) {
    ScratchFolder folder;
    folder.Write(kAddressBookFileName, "[New]\r\n");
    const std::string path = folder.File(kAddressBookFileName);
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    CIniFile file;
    DeviceTable loaded;
    const std::optional<ReadProblem> problem = LoadAddressBook(folder.Folder(), file, loaded);
    DeviceTable table;
    table.Append(MakeDevice({.name = "Kept"}));
    EXPECT_FALSE(WriteAddressBook(path, table));
    EXPECT_FALSE(ImportAddressBook(path, table));
    CloseHandle(held);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->reason, ReadFailure::kHeld);
    EXPECT_EQ(loaded.Count(), 0u);
    EXPECT_EQ(ReadWholeFile(path), "[New]\r\n");
    ASSERT_EQ(table.Count(), 1u);
    EXPECT_EQ(FieldText(table.At(0).name), "Kept");
    EXPECT_TRUE(ImportAddressBook(path, table));
    EXPECT_EQ(FieldText(table.At(0).name), "New");
}

// A folder whose name no ANSI code page of the test's may spell: the book's files go through
// the wide-character calls.
TEST(WideFolderTest, BookInAFolderOutsideTheCodePageLoadsSavesAndTransfers) {
    ScratchFolder scratch;
    const std::string folder =
        scratch.Folder() + "\xe7\x8e\x8b\xe5\xb0\x8f\xe6\x98\x8e\\";  // 王小明
    ASSERT_TRUE(CreateDirectoryW(WidePath(folder).c_str(), nullptr));
    const std::string path = folder + kAddressBookFileName;
    DeviceTable table;
    table.Append(MakeDevice({.name = "Gate", .serverIp = "10.0.0.1"}));
    ASSERT_TRUE(WriteAddressBook(path, table));
    table.Append(MakeDevice({.name = "Yard", .serverIp = "10.0.0.2"}));
    ASSERT_TRUE(ExportAddressBook(path, table));
    EXPECT_NE(GetFileAttributesW(WidePath(BackupPathFor(path)).c_str()), INVALID_FILE_ATTRIBUTES);

    CIniFile file;
    DeviceTable loaded;
    EXPECT_FALSE(LoadAddressBook(folder, file, loaded));
    ASSERT_EQ(loaded.Count(), 2u);
    EXPECT_EQ(FieldText(loaded.At(1).serverIp), "10.0.0.2");
    DeviceTable imported;
    EXPECT_TRUE(ImportAddressBook(path, imported));
    EXPECT_EQ(imported.Count(), 2u);
}

}  // namespace
