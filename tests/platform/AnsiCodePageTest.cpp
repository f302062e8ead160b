// The text sort's view of a real double-byte code page (Big5, 950), whatever the system's
// own code page is.
#include "base/AnsiCodePage_win32.h"

#include <gtest/gtest.h>

#include "app/SortRules.h"

namespace {

TEST(AnsiCodePageTest, Big5LettersCompareInEitherCase) {
    const AnsiCodePage big5 = PlatformCodePage(950);
    EXPECT_TRUE(big5.IsLeadByte('\xA2'));
    EXPECT_FALSE(big5.IsLeadByte('A'));
    EXPECT_EQ(big5.UpperDoubleByte(0xA2E9), 0xA2CFu);  // full-width a -> A
    EXPECT_EQ(big5.UpperDoubleByte(0xA343), 0xA2E8u);  // full-width z -> Z
    EXPECT_EQ(big5.UpperDoubleByte(0xA35C), 0xA344u);  // Greek alpha -> Alpha
    EXPECT_EQ(big5.UpperDoubleByte(0xA2CF), 0xA2CFu);  // already a capital
    EXPECT_EQ(big5.UpperDoubleByte(0xBACA), 0xBACAu);  // an ideograph has no case
    EXPECT_EQ(big5.UpperDoubleByte(0xA2E9), 0xA2CFu);  // remembered, same answer
    EXPECT_EQ(big5.UpperDoubleByte(0x8100), 0x8100u);  // not a character of the code page

    const SortState ascending;
    EXPECT_EQ(CompareTextColumn("\xA2\xE9-1", "\xA2\xCF-1", ascending, big5), 0);
    // Compared as capitals, full-width a comes before full-width Z.
    EXPECT_LT(CompareTextColumn("\xA2\xE9", "\xA2\xE8", ascending, big5), 0);
    EXPECT_LT(CompareTextColumn("\xA3\x43", "\xBA\xCA", ascending, big5), 0);
}

}  // namespace
