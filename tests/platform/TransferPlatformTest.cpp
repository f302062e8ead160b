// Export and import on the real platform: paths from the wide-character pickers in the ANSI
// code page, and a file that another program holds.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "addressbook/Transfer.h"
#include "app/AnsiPath.h"
#include "base/FixedText.h"
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

TEST(ImportHeldFileTest, FileAnotherProgramHoldsChangesNothing) {
    ScratchFolder folder;
    folder.Write("held.ini", "[New]\r\n");
    const std::string path = folder.File("held.ini");
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    DeviceTable table;
    table.Append(MakeDevice({.name = "Kept"}));
    EXPECT_FALSE(ImportAddressBook(path, table));
    CloseHandle(held);
    ASSERT_EQ(table.Count(), 1u);
    EXPECT_EQ(FieldText(table.At(0).name), "Kept");
    EXPECT_TRUE(ImportAddressBook(path, table));
    EXPECT_EQ(FieldText(table.At(0).name), "New");
}

}  // namespace
