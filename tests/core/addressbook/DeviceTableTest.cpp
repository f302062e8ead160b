#include "addressbook/DeviceTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/FixedText.h"
#include "support/Big5.h"
#include "support/TestDevice.h"

namespace {

DeviceTable TableOf(std::initializer_list<std::string_view> names) {
    DeviceTable table;
    for (std::string_view name : names) {
        const std::string ip = std::string(name) + "-ip";
        table.Append(MakeDevice({.name = name, .serverIp = ip}));
    }
    return table;
}

TEST(DeviceTableTest, IndexOfNameIsExactAndFindsTheFirst) {
    const DeviceTable table = TableOf({"Cam", "cam", "Cam", "Cam1"});
    EXPECT_EQ(table.IndexOfName("Cam"), 0u);
    EXPECT_EQ(table.IndexOfName("cam"), 1u);
    EXPECT_EQ(table.IndexOfName("CAM"), std::nullopt);
    EXPECT_EQ(table.IndexOfName("Ca"), std::nullopt);
    EXPECT_EQ(table.IndexOfName(""), std::nullopt);
}

TEST(DeviceTableTest, DuplicateNameTestFoldsOnlyAsciiLetters) {
    const DeviceTable table = TableOf({"cam1", "Gate\xC4", "Lobby"});
    EXPECT_TRUE(table.ContainsNameIgnoringCase("CAM1"));
    EXPECT_FALSE(table.ContainsNameIgnoringCase("CAM"));  // a prefix is no match
    EXPECT_FALSE(table.ContainsNameIgnoringCase("cam12"));
    EXPECT_TRUE(table.ContainsNameIgnoringCase("GATE\xC4"));
    EXPECT_FALSE(table.ContainsNameIgnoringCase("gate\xE4"));  // other bytes must be equal
    EXPECT_TRUE(table.ContainsNameIgnoringCase(" CAM1\t"));    // the book trims section names
    // The record being edited does not collide with itself.
    EXPECT_FALSE(table.ContainsNameIgnoringCase("LOBBY", 2));
    EXPECT_TRUE(table.ContainsNameIgnoringCase("LOBBY", 0));
}

TEST(DeviceTableTest, DuplicateNameTestWalksDoubleByteCharacters) {
    const DeviceTable table = TableOf({kBigDoor, std::string(kBigDoor) + " Cam"});
    const auto contains = [&](const std::string& name) {
        return table.ContainsNameIgnoringCase(name, std::nullopt, kBig5CodePage);
    };
    EXPECT_FALSE(contains(kEntrance));  // a second byte is not a letter
    EXPECT_TRUE(contains(kBigDoor));
    EXPECT_TRUE(contains(std::string(kBigDoor) + " CAM"));  // single-byte letters still fold
    EXPECT_FALSE(contains(std::string(kEntrance) + " cam"));
    // In a single-byte code page the same bytes are letters of their own.
    EXPECT_TRUE(table.ContainsNameIgnoringCase(kEntrance, std::nullopt, AnsiCodePage()));
}

TEST(DeviceTableTest, RemoveAtKeepsTheOrderOfTheRest) {
    DeviceTable table = TableOf({"A", "B", "C", "D"});
    table.RemoveAt(1);
    ASSERT_EQ(table.Count(), 3u);
    EXPECT_EQ(FieldText(table.At(0).name), "A");
    EXPECT_EQ(FieldText(table.At(1).name), "C");
    EXPECT_EQ(FieldText(table.At(2).serverIp), "D-ip");
    table.RemoveAt(2);
    table.RemoveAt(0);
    table.RemoveAt(0);
    EXPECT_EQ(table.Count(), 0u);

    // Several at once: each remaining record keeps its id.
    table = TableOf({"A", "B", "C", "D", "E"});
    const RecordId b = table.IdAt(1);
    const RecordId e = table.IdAt(4);
    const std::size_t removed[] = {0, 2, 3};
    table.RemoveAt(removed);
    ASSERT_EQ(table.Count(), 2u);
    EXPECT_EQ(FieldText(table.At(0).name), "B");
    EXPECT_EQ(FieldText(table.At(1).name), "E");
    EXPECT_EQ(table.IdAt(0), b);
    EXPECT_EQ(table.IdAt(1), e);
}

TEST(DeviceTableTest, CopiesAreIndependent) {
    DeviceTable table = TableOf({"A"});
    DeviceTable snapshot = table;
    CopyField(table.At(0).name, "Changed");
    EXPECT_EQ(FieldText(snapshot.At(0).name), "A");
}

TEST(FixedTextTest, CopyFieldCutsAndTerminates) {
    char field[8];
    CopyField(field, "1234567890");
    EXPECT_EQ(FieldText(field), "1234567");
    CopyField(field, "ab");
    EXPECT_EQ(FieldText(field), "ab");
    EXPECT_EQ(field[7], '\0');
    EXPECT_EQ(field[3], '\0');  // no bytes of the longer text left behind
}

TEST(FixedTextTest, AnsiFieldsAreCutBetweenCharacters) {
    struct Case {
        std::string_view text, kept;
    };
    for (const Case& c : std::vector<Case>{
             {"1234567890", "1234567"},
             {"\xA4\x6A\xA4\x6A\xA4\x6A\xA4\x6A", "\xA4\x6A\xA4\x6A\xA4\x6A"},
             {"a\xA4\x6A\xA4\x6A\xA4\x6A\xA4", "a\xA4\x6A\xA4\x6A\xA4\x6A"},
             {"ab\xA4\x6A\xA4\x6A\xA4\x6A", "ab\xA4\x6A\xA4\x6A"},
             {"abc\xA4\x6A\xA4\x6A\xA4", "abc\xA4\x6A\xA4\x6A"},
             {"x\xA4\x5D\xA4\x0D\xA4\x3D\xA4", "x\xA4\x5D\xA4\x0D\xA4\x3D"},  // any second byte
         }) {
        char field[8];
        CopyAnsiField(field, c.text, kBig5CodePage);
        EXPECT_EQ(FieldText(field), c.kept) << c.text;
    }
    char field[8];
    CopyAnsiField(field, "\xA4\x6A\xA4\x6A\xA4\x6A\xA4\x6A", AnsiCodePage());
    EXPECT_EQ(FieldText(field), "\xA4\x6A\xA4\x6A\xA4\x6A\xA4");  // bytes in a single-byte page
}

}  // namespace
