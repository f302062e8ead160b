#include "addressbook/ProfileDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/Big5.h"

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

TEST(ProfileDocumentTest, Big5IsWalkedByCharacters) {
    const std::string big(kBigDoor), entrance(kEntrance);
    const ProfileDocument document = ProfileDocument::Parse(
        "[" + big + "]\nK=1\n[" + entrance + "]\nK=2\n" +
            // A lead byte takes the byte after it, as the platform reads it: "]" makes a
            // character; "=", CR, LF, a blank or a quote make a "?" with it.
            "[Bracket\xA4]\nK=3\n[Gate]\nK\xA4=4\nE=\xA4=\n"
            "NOTE\xA4\r[CR]\rK=5\rNOTE\xA4\n[LF]\nK=6\n"
            "[\xA4 ]\nQ=\"x\xA4\"\nT=x\xA4\t\nS=  \xA4  \nZ=\xA4",
        kBig5CodePage);
    EXPECT_EQ(SectionNames(document), (std::vector<std::string>{big, entrance, "Gate", "?"}));
    const std::pair<std::string, std::string> answers[][2] = {
        {{big, "k"}, {"1", ""}},
        {{entrance, "k"}, {"2", ""}},
        {{big + "x", "K"}, {"<missing>", ""}},
        {{entrance, "[Bracket\xA4]"}, {"<missing>", "a key without a value"}},
        {{"Gate", "K?4"}, {"<missing>", "a key without a value"}},
        {{"Gate", "E"}, {"?", ""}},
        {{"Gate", "K"}, {"5", "[CR] and [LF] are no headers"}},
        {{"?", "Q"}, {"\"x?", ""}},
        {{"?", "T"}, {"x?", ""}},
        {{"?", "S"}, {"?", ""}},
        {{"?", "Z"}, {"?", "a lead byte at the very end"}},
    };
    for (const auto& [question, answer] : answers) {
        EXPECT_EQ(ValueOr(document, question.first, question.second), answer.first)
            << question.first << " " << question.second << " " << answer.second;
    }
    // A quote or a blank can end a double-byte character only in code pages that allow it.
    const AnsiCodePage lowSecondBytes = {{{0x81, 0xFE}}, {{0x20, 0x7E}}};
    EXPECT_EQ(StripEnclosingQuotes("\"x\xA4\"", lowSecondBytes), "\"x\xA4\"");
    EXPECT_EQ(StripEnclosingQuotes("\"\xA4\xA4\"", lowSecondBytes), "\xA4\xA4");
    EXPECT_EQ(TrimProfileBlanks("x\xA4  ", lowSecondBytes), "x\xA4 ");
    // The same bytes in a single-byte code page.
    const ProfileDocument latin = ProfileDocument::Parse("[" + big + "]\nK=1\n[X\xA4]\nK=3\n");
    EXPECT_EQ(SectionNames(latin), (std::vector<std::string>{big, "X\xA4"}));
}

TEST(ProfileDocumentTest, Utf16FilesAreReadInTheAnsiCodePage) {
    // In ASCII, which every code page spells the same.
    const std::string text = "[Gate]\r\nSERVERIP=10.0.0.5\r\n";
    std::string little = "\xFF\xFE", big = "\xFE\xFF";
    for (char c : text) {
        little += {c, '\0'};
        big += {'\0', c};
    }
    for (const std::string& bytes : {little, big, little + "x"}) {
        const ProfileDocument document = ProfileDocument::Parse(bytes);
        EXPECT_EQ(SectionNames(document), std::vector<std::string>{"Gate"});
        EXPECT_EQ(ValueOr(document, "GATE", "serverip"), "10.0.0.5");
    }
}

TEST(ProfileDocumentTest, DuplicatesResolveToTheFirstSectionAndFirstKey) {
    const ProfileDocument document =
        ProfileDocument::Parse("[Cam]\nK=first\nK=second\n[cam]\nK=other\nOnlyHere=x\n");
    EXPECT_EQ(SectionNames(document), (std::vector<std::string>{"Cam", "cam"}));
    EXPECT_EQ(ValueOr(document, "CAM", "K"), "first");
    // Only the first section of a name is searched, even for a key it lacks.
    EXPECT_EQ(ValueOr(document, "cam", "OnlyHere"), "<missing>");
}

TEST(ProfileDocumentTest, SectionsOfManyKeysAreSearchedAlike) {
    std::string text = "[Many]\n";
    for (int i = 0; i < 1000; ++i) {
        text += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    }
    text += "KEY7=again\nNoValue\n NOVALUE = late \nEmpty=\n[MANY]\nOnlyHere=x\n";
    const ProfileDocument document = ProfileDocument::Parse(text);
    const std::pair<const char*, const char*> answers[] = {
        {" key999\t", "999"},     {"KEY7", "7"},
        {"novalue", "<missing>"}, {"Empty", ""},
        {"Key1000", "<missing>"}, {"OnlyHere", "<missing>"}};
    for (const auto& [key, value] : answers) {
        EXPECT_EQ(ValueOr(document, "many", key), value) << key;
    }
    const ProfileDocument big5 = ProfileDocument::Parse(
        text + "[Big5]\n" + std::string(20, '\n') +
            [] {
                std::string keys;
                for (int i = 0; i < 20; ++i) {
                    keys += std::string(kBigDoor) + std::to_string(i) + "=door\n" + kEntrance +
                            std::to_string(i) + "=entrance\n";
                }
                return keys;
            }(),
        kBig5CodePage);
    EXPECT_EQ(ValueOr(big5, "big5", std::string(kEntrance) + "19"), "entrance");
    EXPECT_EQ(ValueOr(big5, "big5", std::string(kBigDoor) + "19"), "door");
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
