#include "app/StartupRules.h"

#include <gtest/gtest.h>

namespace {

TEST(StartupRulesTest, ChineseOnlyForTheFourChineseLocales) {
    for (std::uint16_t chinese : {0x0404, 0x0804, 0x0C04, 0x1004}) {
        EXPECT_EQ(LanguageForSystemLanguage(chinese), Language::kChinese) << std::hex << chinese;
    }
    for (std::uint16_t english : {0x0409, 0x0411, 0x1404, 0x0004, 0x7C04, 0x0000}) {
        EXPECT_EQ(LanguageForSystemLanguage(english), Language::kEnglish) << std::hex << english;
    }
}

TEST(StartupRulesTest, MemoryWarningAtFifteenPercentOrLess) {
    constexpr std::uint64_t kTotal = 1000000000;
    EXPECT_EQ(GetAvailableMemoryPercent(159000000, kTotal), 15);  // 15.9 % is truncated
    EXPECT_TRUE(IsMemoryLow(GetAvailableMemoryPercent(159000000, kTotal)));
    EXPECT_FALSE(IsMemoryLow(GetAvailableMemoryPercent(160000000, kTotal)));
    EXPECT_EQ(GetAvailableMemoryPercent(kTotal, kTotal), 100);
    // Sizes beyond 32 bits and an unknown total.
    EXPECT_EQ(GetAvailableMemoryPercent(3ull << 40, 4ull << 40), 75);
    EXPECT_FALSE(IsMemoryLow(GetAvailableMemoryPercent(0, 0)));
}

TEST(StartupRulesTest, ProgramFolderKeepsTheLastBackslash) {
    EXPECT_EQ(ProgramFolderOf("C:\\Program Files\\Tavrin\\Tavrin.exe"),
              "C:\\Program Files\\Tavrin\\");
    EXPECT_EQ(ProgramFolderOf("\\\\server\\share\\T.exe"), "\\\\server\\share\\");
    EXPECT_EQ(ProgramFolderOf("Tavrin.exe"), "");
}

}  // namespace
