#include "addressbook/ProfileDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The named sections, as a file lists them.
std::vector<std::string> SectionNames(const ProfileDocument& document) {
    std::vector<std::string> names;
    for (const ProfileSection& section : document.Sections()) {
        if (!section.name.empty()) {
            names.emplace_back(section.name);
        }
    }
    return names;
}

std::string ValueOr(const ProfileDocument& document, std::string_view section, std::string_view key,
                    std::string_view missing = "<missing>") {
    return std::string(document.FindValue(section, key).value_or(missing));
}

TEST(ProfileDocumentTest, LineEndsOfEveryKind) {
    for (const char* text :
         {"[A]\nK=1\n[B]\nK=2", "[A]\r\nK=1\r\n[B]\r\nK=2\r\n", "[A]\rK=1\r[B]\rK=2\r",
          "\n\n  [A]  \n\n\tK = 1 \n\r[B]\r\r\nK=2\x1a"}) {
        const ProfileDocument document = ProfileDocument::Parse(text);
        EXPECT_EQ(SectionNames(document), (std::vector<std::string>{"A", "B"})) << text;
        EXPECT_EQ(ValueOr(document, "A", "K"), "1") << text;
        EXPECT_EQ(ValueOr(document, "B", "K"), "2") << text;
    }
}

TEST(ProfileDocumentTest, Utf8ByteOrderMarkDoesNotHideTheFirstSection) {
    const ProfileDocument document = ProfileDocument::Parse("\xEF\xBB\xBF[A]\r\nK=1\r\n");
    EXPECT_EQ(SectionNames(document), std::vector<std::string>{"A"});
    EXPECT_EQ(ValueOr(document, "A", "K"), "1");
}

TEST(ProfileDocumentTest, LookupIgnoresAsciiCaseAndBlanksOfTheQuestion) {
    const ProfileDocument document = ProfileDocument::Parse("[Office Cam]\nServerIp=10.0.0.5\n");
    EXPECT_EQ(ValueOr(document, "office cam", "SERVERIP"), "10.0.0.5");
    EXPECT_EQ(ValueOr(document, "  OFFICE CAM\t", " serverip "), "10.0.0.5");
    EXPECT_EQ(ValueOr(document, "Office", "SERVERIP"), "<missing>");
    EXPECT_EQ(ValueOr(document, "Office Cam", "SERVER"), "<missing>");
}

TEST(ProfileDocumentTest, BytesAboveAsciiAreComparedExactly) {
    // 0xC4 and 0xE4 are the same letter in two cases in Latin-1 but unrelated halves of
    // double-byte characters in other code pages: never fold them.
    const ProfileDocument document = ProfileDocument::Parse("[\xC4x]\nK=1\n[\xA4\x41]\nK=2\n");
    EXPECT_EQ(ValueOr(document, "\xC4X", "k"), "1");
    EXPECT_EQ(ValueOr(document, "\xE4x", "k"), "<missing>");
    EXPECT_EQ(ValueOr(document, "\xA4\x41", "K"), "2");
}

TEST(ProfileDocumentTest, DuplicatesResolveToTheFirstSectionAndFirstKey) {
    const ProfileDocument document =
        ProfileDocument::Parse("[Cam]\nK=first\nK=second\n[cam]\nK=other\nOnlyHere=x\n");
    EXPECT_EQ(SectionNames(document), (std::vector<std::string>{"Cam", "cam"}));
    EXPECT_EQ(ValueOr(document, "CAM", "K"), "first");
    // Only the first section of a name is searched, even for a key it lacks.
    EXPECT_EQ(ValueOr(document, "cam", "OnlyHere"), "<missing>");
}

TEST(ProfileDocumentTest, OddLinesMatchNothingButDoNotDisturbTheRest) {
    const ProfileDocument document = ProfileDocument::Parse(
        "K=above any section\n"
        "[A]\n"
        "; a comment\n"
        "no equals sign\n"
        "Empty=\n"
        "=no name\n"
        "[unclosed\n"
        "Spaced = a = b \n"
        "[ Blank Inside ]\n"
        "K=2\n"
        "[]\n"
        "K=3\n");
    EXPECT_EQ(SectionNames(document), (std::vector<std::string>{"A", "Blank Inside"}));
    EXPECT_EQ(ValueOr(document, "A", "no equals sign"), "<missing>");
    EXPECT_EQ(ValueOr(document, "A", "Empty"), "");
    EXPECT_EQ(ValueOr(document, "A", "Spaced"), "a = b");
    EXPECT_EQ(ValueOr(document, "A", "[unclosed"), "<missing>");
    EXPECT_EQ(ValueOr(document, "A", "K"), "<missing>");
    EXPECT_EQ(ValueOr(document, " Blank Inside ", "K"), "2");
    // The empty name finds the keys above the first header, never those below "[]".
    EXPECT_EQ(ValueOr(document, "", "K"), "above any section");
    EXPECT_EQ(ValueOr(document, " ", "K"), "above any section");
}

TEST(ProfileDocumentTest, OnePairOfMatchingQuotesIsStripped) {
    struct Case {
        std::string_view stored, read;
    };
    for (const Case& c : std::vector<Case>{{"\"x\"", "x"},
                                           {"'x'", "x"},
                                           {"\"\"x\"\"", "\"x\""},
                                           {"\"x'", "\"x'"},
                                           {"\"", "\""},
                                           {"\"\"", ""},
                                           {"x\"", "x\""}}) {
        EXPECT_EQ(StripEnclosingQuotes(c.stored), c.read) << c.stored;
    }
}

TEST(ProfileDocumentTest, VeryLongLinesAndNamesSurvive) {
    const std::string name(5000, 'n');
    const std::string value(100000, 'v');
    const ProfileDocument document = ProfileDocument::Parse("[" + name + "]\nK=" + value + "\n");
    ASSERT_EQ(SectionNames(document), std::vector<std::string>{name});
    EXPECT_EQ(ValueOr(document, name, "K"), value);
}

}  // namespace
