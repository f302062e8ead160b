// The text sort's view of a real double-byte code page (Big5, 950), whatever the system's
// own code page is.
#include "app/AnsiCodePage.h"

#include <gtest/gtest.h>

namespace {

TEST(AnsiCodePageTest, Big5LettersCompareInEitherCase) {
    AnsiCodePage big5(950);
    EXPECT_TRUE(big5.IsLeadByte(0xA2));
    EXPECT_FALSE(big5.IsLeadByte('A'));
    EXPECT_EQ(big5.UpperDoubleByte(0xA2E9), 0xA2CFu);  // full-width a -> A
    EXPECT_EQ(big5.UpperDoubleByte(0xA343), 0xA2E8u);  // full-width z -> Z
    EXPECT_EQ(big5.UpperDoubleByte(0xA35C), 0xA344u);  // Greek alpha -> Alpha
    EXPECT_EQ(big5.UpperDoubleByte(0xA2CF), 0xA2CFu);  // already a capital
    EXPECT_EQ(big5.UpperDoubleByte(0xBACA), 0xBACAu);  // an ideograph has no case
    EXPECT_EQ(big5.UpperDoubleByte(0xA2E9), 0xA2CFu);  // remembered, same answer
    EXPECT_EQ(big5.UpperDoubleByte(0x8100), 0x8100u);  // not a character of the code page

    const SortState ascending;
    const MultibyteCodePage codePage = big5.ForComparison();
    EXPECT_EQ(CompareTextColumn("\xA2\xE9-1", "\xA2\xCF-1", ascending, codePage), 0);
    // Compared as capitals, full-width a comes before full-width Z.
    EXPECT_LT(CompareTextColumn("\xA2\xE9", "\xA2\xE8", ascending, codePage), 0);
    EXPECT_LT(CompareTextColumn("\xA3\x43", "\xBA\xCA", ascending, codePage), 0);
}

}  // namespace
