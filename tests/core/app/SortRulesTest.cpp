#include "app/SortRules.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "base/DecimalText.h"

namespace {

// Big5's lead bytes, and its case mapping reduced to the full-width letters a to c
// (0xA2E9-0xA2EB), whose capitals are 0xA2CF-0xA2D1.
const AnsiCodePage kBig5({{0x81, 0xFE}}, {{0x40, 0x7E}, {0xA1, 0xFE}}, [](unsigned code) {
    return code >= 0xA2E9 && code <= 0xA2EB ? code - 0xA2E9 + 0xA2CF : code;
});

int Sign(int value) {
    return (value > 0) - (value < 0);
}

TEST(SortStateTest, FirstNameClickIsDescendingOtherColumnsStartAscending) {
    SortState state;
    UpdateSortState(state, 0);
    EXPECT_TRUE(state.descending);
    UpdateSortState(state, 0);
    EXPECT_FALSE(state.descending);
    UpdateSortState(state, 2);
    EXPECT_FALSE(state.descending);
    EXPECT_EQ(state.lastColumn, 2);
    UpdateSortState(state, 2);
    EXPECT_TRUE(state.descending);
    UpdateSortState(state, 1);
    EXPECT_FALSE(state.descending);
}

TEST(CompareTextColumnTest, OrdersAsTheMultibyteCaseInsensitiveComparison) {
    struct Case {
        std::string_view a, b;
        int expected;  // ascending
    };
    const Case cases[] = {
        {"Apple", "banana", -1},  // capital A before small b
        {"CAM1", "cam1", 0},      // letter case ignored
        {"Cam", "Cam1", -1},      // the text that ends first is smaller
        {"", "a", -1},
        {"", "", 0},
        {"a_", "A[", 1},              // letters fold to lower case: '_' (0x5F) > '[' (0x5B)
        {"z", "\xA4\x6A", -1},        // a single byte before a double-byte character
        {"\xA4\x6A", "\xA4\x4A", 1},  // ASCII-looking trail bytes are not folded
        {"\xA4\x6A"
         "a",
         "\xA4\x6A"
         "B",
         -1},
        {"\xA2\xE9"
         "1",
         "\xA2\xCF"
         "1",
         0},  // a double-byte letter in either case
        {"\xA2\xEA", "\xA2\xD0", 0},
        {"\xA2\xE9", "\xA2\xE8", -1},  // compared as capitals: 0xA2CF < 0xA2E8
        {"\xA2\xEB", "\xA2\xCF", 1},
        {"\xA4", "\xA4\x40", -1},  // a lone lead byte at the end is one byte
        {"\xFF", "\xA4\x40", -1},  // a single byte above 0x7F before a double-byte one
        {"\x80", "\x7F", 1},
        {"10.0.0.5", "10.0.0.10", 1},  // addresses compare as text
    };
    for (const Case& c : cases) {
        const SortState ascending{false, 0};
        const SortState descending{true, 0};
        EXPECT_EQ(Sign(CompareTextColumn(c.a, c.b, ascending, kBig5)), c.expected)
            << c.a << " vs " << c.b;
        EXPECT_EQ(Sign(CompareTextColumn(c.a, c.b, descending, kBig5)), -c.expected)
            << c.a << " vs " << c.b;
        // A sort's keys order the texts alike.
        std::string a, b;
        AppendTextSortKey(a, c.a, kBig5);
        AppendTextSortKey(b, c.b, kBig5);
        EXPECT_EQ(Sign(a.compare(b)), c.expected) << c.a << " vs " << c.b;
    }
}

TEST(LeadingDecimalNumberTest, ReadsTheLeadingNumberLikeTheCLibrary) {
    struct Case {
        std::string_view text;
        int number;
    };
    const Case cases[] = {
        {"80", 80},
        {"  554", 554},
        {"\t+8080", 8080},
        {"-1", -1},
        {"80abc", 80},
        {"abc", 0},
        {"", 0},
        {"+", 0},
        {" - 5", 0},
        {"2147483647", INT_MAX},
        {"99999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999", INT_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LeadingDecimalNumber(c.text), c.number) << c.text;
    }
}

TEST(ComparePortColumnTest, SortsByNumberNotByText) {
    const SortState ascending{false, 2};
    EXPECT_LT(ComparePortColumn("80", "554", ascending), 0);
    EXPECT_LT(ComparePortColumn("554", "8080", ascending), 0);
    EXPECT_EQ(ComparePortColumn("80abc", "80", ascending), 0);
    EXPECT_EQ(ComparePortColumn("", "letters", ascending), 0);
    EXPECT_GT(ComparePortColumn("80", "554", SortState{true, 2}), 0);
}

}  // namespace
