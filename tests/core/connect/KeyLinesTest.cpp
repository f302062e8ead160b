#include "connect/KeyLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string_view>;

TEST(ReplyLinesTest, SplitsAtLfOnlyAndSkipsEmptyLines) {
    EXPECT_EQ(ReplyLines("a\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(ReplyLines("\n\na\n\n\nb\n\n"), (Lines{"a", "b"}));
    EXPECT_EQ(ReplyLines("a\r\nb\r\n"), (Lines{"a\r", "b\r"}));
    EXPECT_EQ(ReplyLines("a\rb\r\n\r\n"), (Lines{"a\rb\r", "\r"}));
    EXPECT_EQ(ReplyLines(""), Lines{});
    EXPECT_EQ(ReplyLines("\n\n"), Lines{});
}

TEST(KeyLineTest, ReadsOnlyExactKeysWithValuesOfOneTo31Characters) {
    struct Case {
        const char* line;
        const char* value;  // null: not a key line
    };
    const std::string longest(31, 'x');
    const std::string tooLong(32, 'x');
    const std::string atLimit = "MAC-Address=" + longest;
    const std::string overLimit = "MAC-Address=" + tooLong;
    const Case cases[] = {
        {"MAC-Address=02:AB:CD:0A:0B:0C", "02:AB:CD:0A:0B:0C"},
        {"MAC-Address=02:AB:CD:0A:0B:0C\r", "02:AB:CD:0A:0B:0C\r"},  // the CR stays
        {"MAC-Address==x", "=x"},
        {"MAC-Address= ", " "},
        {atLimit.c_str(), longest.c_str()},
        {overLimit.c_str(), nullptr},
        {"MAC-Address=", nullptr},
        {"mac-address=02:AB:CD:0A:0B:0C", nullptr},
        {" MAC-Address=02:AB:CD:0A:0B:0C", nullptr},
        {"MAC-Address 02:AB:CD:0A:0B:0C", nullptr},
        {"MAC-Address", nullptr},
        {"XMAC-Address=1", nullptr},
    };
    for (const Case& c : cases) {
        const auto value = KeyLineValue(c.line, "MAC-Address");
        if (c.value == nullptr) {
            EXPECT_FALSE(value.has_value()) << c.line;
        } else {
            EXPECT_EQ(value, std::optional<std::string_view>(c.value)) << c.line;
        }
    }
}

TEST(KeyLineTest, FindTakesTheFirstLineThatReads) {
    const char* reply =
        "Network.IPAddress=\n"
        "Network.IPAddress="
        "123456789012345678901234567890123\n"
        "Network.eth0.MACAddress=02:ab:cd:0a:0b:0c\r\n"
        "Network.IPAddress=192.168.1.10\n"
        "Network.IPAddress=192.168.1.99\n";
    EXPECT_EQ(FindKeyLine(reply, "Network.IPAddress"), "192.168.1.10");
    EXPECT_EQ(FindKeyLine(reply, "Network.eth0.MACAddress"), "02:ab:cd:0a:0b:0c\r");
    EXPECT_EQ(FindKeyLine(reply, "MAC-Address"), std::nullopt);
}

}  // namespace
