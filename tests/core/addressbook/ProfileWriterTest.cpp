#include "addressbook/ProfileWriter.h"

#include <gtest/gtest.h>

#include "addressbook/IniFile.h"
#include "support/ScratchFolder.h"

namespace {

TEST(ProfileWriterTest, LaysOutSectionsAsThePlatformWriterDoes) {
    std::string out;
    AppendProfileSection(out, "Office");
    AppendProfileKey(out, "SERVERIP", "10.0.0.5");
    AppendProfileKey(out, "UUID", "");
    EXPECT_EQ(out, "[Office]\r\nSERVERIP=10.0.0.5\r\nUUID=\r\n");

    // No text handed in starts a line of its own.
    out.clear();
    AppendProfileSection(out, "Gate\r\n[Evil]");
    AppendProfileKey(out, "UUIDMAC", "x\r[Cam2]\rSERVERIP=6.6.6.6");
    AppendProfileKey(out, "ACCOUNT", "a\nPASSWORD=b");
    AppendProfileKey(out, "UUID", std::string_view("u\0[X]", 5));
    EXPECT_EQ(out, "[Gate]\r\nUUIDMAC=x\r\nACCOUNT=a\r\nUUID=u\r\n");
}

TEST(ProfileWriterTest, EveryValueReadsBackAsWritten) {
    const std::vector<std::string> values = {
        "",     "plain", " pass ", "\tlead", "trail\t", "\"x\"", "'x'", "\"",   "'",
        "\"x",  "x\"",   "\"\"",   " \" ",   "a=b",     "[x]",   ";x",  "\x1a", "\xA4\xA4\xA4\xE5",
        "\"'\""};
    std::string file;
    for (std::size_t i = 0; i < values.size(); ++i) {
        AppendProfileSection(file, "S" + std::to_string(i));
        AppendProfileKey(file, "VALUE", values[i]);
    }
    ScratchFolder folder;
    folder.Write("book.ini", file);
    CIniFile ini(folder.File("book.ini"));
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::string read;
        ini.GetString("S" + std::to_string(i), "VALUE", "<default>", read);
        EXPECT_EQ(read, values[i]) << "value #" << i;
    }
}

TEST(ProfileWriterTest, QuotesOnlyValuesThatNeedThem) {
    EXPECT_FALSE(NeedsProtectingQuotes(""));
    EXPECT_FALSE(NeedsProtectingQuotes("pass word"));
    EXPECT_FALSE(NeedsProtectingQuotes("\"half"));
    EXPECT_TRUE(NeedsProtectingQuotes(" pass"));
    EXPECT_TRUE(NeedsProtectingQuotes("'x'"));
}

}  // namespace
