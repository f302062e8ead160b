#include "viewer/ReceivedCommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "viewer/ShownFields.h"

namespace {

using Values = std::vector<std::optional<std::string>>;

Values ValuesOf(const ReceivedCommandLine& parsed) {
    return Values(parsed.values.begin(), parsed.values.end());
}

TEST(ReceivedCommandLineTest, ReadsTheLaunchersLinesFieldByField) {
    const ReceivedCommandLine path1 = ParseReceivedCommandLine(
        "Pellix.exe IP=192.168.1.10#PORT=0080#ACCOUNT=admin#PASSWORD=secret#"
        "PATH=path=C:\\Program Files\\Tavrin\\&#PRIORITY=Frame#DEVICEUUID=#DEVICEPORT=0080#"
        "CONNECTTYPE=STATIC IP#OEMNAME=oemname=ZEQ&#LANGUAGEID=1#");
    EXPECT_EQ(path1.program, "Pellix.exe");
    EXPECT_EQ(ValuesOf(path1), (Values{"192.168.1.10", "0080", "admin", "secret",
                                       "path=C:\\Program Files\\Tavrin\\&", "Frame", "", "0080",
                                       "STATIC IP", "oemname=ZEQ&", "1"}));

    const ReceivedCommandLine path3 = ParseReceivedCommandLine(
        "Pellix.exe IP=127.0.0.1#PORT=50123#ACCOUNT=a b#PASSWORD=p#w=d#PATH=path=C:\\\xa5\x78\\&#"
        "PRIORITY=#DEVICEUUID=UUID-1#DEVICEPORT=80#CONNECTTYPE=RELAY#OEMNAME=oemname=ZEQ&#"
        "LANGUAGEID=0#");
    EXPECT_EQ(ValuesOf(path3), (Values{"127.0.0.1", "50123", "a b", "p#w=d", "path=C:\\\xa5\x78\\&",
                                       "", "UUID-1", "80", "RELAY", "oemname=ZEQ&", "0"}));
}

// The log's mask must cover exactly the value the viewer reads, wherever that value ends.
TEST(ReceivedCommandLineTest, AValueEndsOnlyAtAHashBeforeAKeyOrTheEnd) {
    struct Case {
        const char* line;
        const char* password;  // null: not given
        const char* masked;
    };
    const Case cases[] = {
        {"Pellix.exe PASSWORD=a#b#", "a#b", "Pellix.exe PASSWORD=********#"},
        // "PORT" without '=' is not a field; keys are upper case.
        {"Pellix.exe PASSWORD=a#PORT#", "a#PORT", "Pellix.exe PASSWORD=********#"},
        {"Pellix.exe PASSWORD=a#port=1#", "a#port=1", "Pellix.exe PASSWORD=********#"},
        {"Pellix.exe PASSWORD=##", "#", "Pellix.exe PASSWORD=********#"},
        {"Pellix.exe PASSWORD=#", "", "Pellix.exe PASSWORD=#"},
        {"Pellix.exe PASSWORD=a# \t", "a", "Pellix.exe PASSWORD=********# \t"},
        {"Pellix.exe PASSWORD=a#IP=1#", "a", "Pellix.exe PASSWORD=********#IP=1#"},
        {"Pellix.exe PASSWORD=open end", "open end", "Pellix.exe PASSWORD=********"},
        {"Pellix.exe PASSWORD=first#PASSWORD=second#", "first",
         "Pellix.exe PASSWORD=********#PASSWORD=********#"},
        {"Pellix.exe NAME=x#PASSWORD=p#", "p", "Pellix.exe NAME=x#PASSWORD=********#"},
        {"Pellix.exe   PASSWORD=p#", "p", "Pellix.exe   PASSWORD=********#"},
        {"\"C:\\PASSWORD=x\\Pellix.exe\" ACCOUNT=PASSWORD=y#", nullptr,
         "\"C:\\PASSWORD=x\\Pellix.exe\" ACCOUNT=PASSWORD=y#"},
        {"Pellix.exe", nullptr, "Pellix.exe"},
        {"Pellix.exe no fields here", nullptr, "Pellix.exe no fields here"},
        {"", nullptr, ""},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> password =
            ParseReceivedCommandLine(c.line).values[kViewerPasswordField];
        if (c.password == nullptr) {
            EXPECT_FALSE(password) << c.line;
        } else {
            EXPECT_EQ(password, std::optional<std::string>(c.password)) << c.line;
        }
        EXPECT_EQ(MaskPasswords(c.line), c.masked);
    }
}

TEST(ReceivedCommandLineTest, ProgramNameIsTheFirstWordOrQuoted) {
    EXPECT_EQ(ParseReceivedCommandLine("Pellix.exe IP=1#").program, "Pellix.exe");
    EXPECT_EQ(ParseReceivedCommandLine("Pellix.exe\tIP=1#").values[0], "1");
    const ReceivedCommandLine quoted =
        ParseReceivedCommandLine("\"C:\\Program Files\\Pellix.exe\" IP=1#PORT=2#");
    EXPECT_EQ(quoted.program, "C:\\Program Files\\Pellix.exe");
    EXPECT_EQ(quoted.values[0], "1");
    EXPECT_EQ(quoted.values[1], "2");
    EXPECT_EQ(ParseReceivedCommandLine("\"C:\\unclosed IP=1#").program, "C:\\unclosed IP=1#");
    // Without a blank there are no fields, even if the name looks like one.
    EXPECT_FALSE(ParseReceivedCommandLine("IP=1#").values[0]);
}

TEST(ShownFieldsTest, ListsAllElevenInOrderWithThePasswordMasked) {
    const std::vector<ShownField> rows =
        ShownFields(ParseReceivedCommandLine("Pellix.exe IP=10.0.0.2#PASSWORD=p w#d#PORT=#"));
    ASSERT_EQ(rows.size(), kViewerKeys.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].key, kViewerKeys[i]);
    }
    EXPECT_EQ(rows[0].text, "10.0.0.2");
    EXPECT_EQ(rows[1].text, "");
    EXPECT_EQ(rows[3].text, "*****");
    EXPECT_EQ(rows[10].text, kMissingField);
    EXPECT_EQ(ShownFields(ParseReceivedCommandLine("Pellix.exe PASSWORD=#"))[3].text, "");
}

}  // namespace
