#include "discovery/SearchDatagrams.h"

#include <gtest/gtest.h>

#include <string>

#include "base/FixedText.h"
#include "core/discovery/DeviceReplies.h"

namespace {

SearchEntry Parsed(const Bytes& datagram, ReplyKind expected = ReplyKind::kEntry) {
    SearchEntry entry{};
    EXPECT_EQ(ParseSearchReply(datagram, entry), expected);
    return entry;
}

TEST(SearchRequestTest, HasTheKeywordTheCommandAndZerosElsewhere) {
    const SearchRequest request = MakeSearchRequest();
    ASSERT_EQ(request.size(), 204u);
    const std::string keyword = "KX_SEARCH";
    for (std::size_t i = 0; i < request.size(); ++i) {
        const std::uint8_t expected = i < keyword.size() ? keyword[i] : i == 16 ? 0x01 : 0;
        EXPECT_EQ(request[i], expected) << "offset " << i;
    }
}

TEST(FixedReplyTest, FillsEveryFieldFromItsOffset) {
    FixedReplyFields fields;
    fields.port = {0x90, 0x1F};  // 8080, least significant byte first
    fields.option = {0x02, 0x01};
    const SearchEntry entry = Parsed(FixedReply(fields));
    EXPECT_EQ(entry.status, 1);
    EXPECT_EQ(FieldText(entry.keyword), "KX_SEARCH");
    EXPECT_EQ(FieldText(entry.macAddress), "02:ab:cd:0a:0b:0c");
    EXPECT_EQ(FieldText(entry.ipAddress), "192.168.1.10");
    EXPECT_EQ(FieldText(entry.secondAddress), "255.255.255.0");
    EXPECT_EQ(FieldText(entry.thirdAddress), "192.168.1.1");
    EXPECT_EQ(FieldText(entry.fourthAddress), "8.8.4.4");
    EXPECT_EQ(entry.port, 8080);
    EXPECT_EQ(entry.optionWord, 0x0102);
    EXPECT_EQ(FieldText(entry.name), "Front door");
    EXPECT_EQ(FieldText(entry.flag), "0");
    // Fields of the text form stay empty.
    EXPECT_EQ(FieldText(entry.title), "");
    EXPECT_EQ(FieldText(entry.networkType), "");
}

TEST(FixedReplyTest, FlagComesFromBitZeroUnlessTheKeywordIsTheSearchs) {
    struct Case {
        const char* keyword;
        std::uint8_t optionLow;
        const char* flag;
    };
    const Case cases[] = {
        {"KX_SEARCH", 0x01, "0"}, {"KX_SEARCH", 0x00, "0"},  {"NVR-2000", 0x01, "1"},
        {"NVR-2000", 0xFE, "0"},  {"KX_SEARCH2", 0x03, "1"}, {"", 0x01, "1"},
    };
    for (const Case& c : cases) {
        FixedReplyFields fields;
        fields.keyword = c.keyword;
        fields.option = {c.optionLow, 0xFF};
        EXPECT_EQ(FieldText(Parsed(FixedReply(fields)).flag), c.flag) << c.keyword;
    }
}

TEST(TextReplyTest, ReadsTheKeysWhereverTheyStand) {
    const SearchEntry entry =
        Parsed(TextReply("MAC=02:AB:CD:0A:0B:0C&Port=8080&Internet=1&Title=Front"));
    EXPECT_EQ(entry.status, 1);
    EXPECT_EQ(FieldText(entry.keyword), "KORVEX-v1000");
    EXPECT_EQ(FieldText(entry.macAddress), "02:AB:CD:0A:0B:0C");  // letter case as sent
    EXPECT_EQ(entry.port, 8080);
    EXPECT_EQ(FieldText(entry.title), "Front");
    EXPECT_EQ(FieldText(entry.internet), "1&Title=Front");  // runs to the end of the text
    EXPECT_EQ(FieldText(entry.ipAddress), "");
    EXPECT_EQ(FieldText(entry.flag), "0");
    EXPECT_EQ(FieldText(entry.secondAddress), "");  // fixed-layout fields stay empty
    EXPECT_EQ(FieldText(entry.name), "");

    const SearchEntry all = Parsed(TextReply(
        "Cloud=on&IPAddress=10.0.0.7&Wireless-Device=wlan0&NetworkType=DHCP&DEVICE_TYPE=NVR&"
        "CloudLoginName=me&MAC=aa:bb&Title=Yard"));
    EXPECT_EQ(FieldText(all.ipAddress), "10.0.0.7");
    EXPECT_EQ(FieldText(all.wirelessDevice), "wlan0");
    EXPECT_EQ(FieldText(all.networkType), "DHCP");
    EXPECT_EQ(FieldText(all.deviceType), "NVR");
    EXPECT_EQ(FieldText(all.cloudLoginName), "me");
    EXPECT_EQ(FieldText(all.cloud), "on");
    EXPECT_EQ(FieldText(all.macAddress), "aa:bb");
    EXPECT_EQ(FieldText(all.title), "Yard");
}

TEST(TextReplyTest, KeysAreFoundByPlainSubstringSearch) {
    struct Case {
        const char* text;
        std::uint16_t port;
        const char* title;
    };
    const Case cases[] = {
        {"Port=80&Port=81", 80, ""},            // the first occurrence wins
        {"HttpPort=81&Port=80", 81, ""},        // even inside another key's name
        {"Title=Port=9&Port=80", 9, "Port=9"},  // or inside a value
        {"Port= \t+443&Title=&", 443, ""},      // blanks and a sign; an empty value
        {"Port=-1", 65535, ""},                 // low 16 bits of the signed number
        {"Port=70000", 4464, ""},
        {"Port=x80&Title=Gate", 0, "Gate"},  // no digits: 0
        {"Port=", 0, ""},
        {"Title=A&Title=B", 0, "A"},
    };
    for (const Case& c : cases) {
        const SearchEntry entry = Parsed(TextReply(c.text));
        EXPECT_EQ(entry.port, c.port) << c.text;
        EXPECT_EQ(FieldText(entry.title), c.title) << c.text;
    }
}

TEST(ReplyFormTest, ZeroDataOrStatusYieldsNoEntryAndAWrongEchoEndsTheSearch) {
    Parsed(TextReply("MAC=02:AB:CD:0A:0B:0C", 0), ReplyKind::kNoEntry);
    FixedReplyFields silent;
    silent.status = 0;
    Parsed(FixedReply(silent), ReplyKind::kNoEntry);
    Parsed(WrongCommandReply(), ReplyKind::kWrongCommand);
    Bytes text = TextReply("MAC=1");
    text[16] = 0x00;
    Parsed(text, ReplyKind::kWrongCommand);
    // Too short to hold the echo: the missing byte reads as zero.
    const Bytes full = FixedReply();
    Parsed(Bytes(full.begin(), full.begin() + 16), ReplyKind::kWrongCommand);
}

TEST(ReplyBoundsTest, LongValuesAreCutToTheirFieldsKeepingTheZero) {
    const std::string longValue(200, 'v');
    const SearchEntry text =
        Parsed(TextReply("MAC=" + longValue + "&Title=" + longValue + "&DEVICE_TYPE=" + longValue +
                         "&Internet=" + longValue));
    EXPECT_EQ(FieldText(text.macAddress), longValue.substr(0, 31));
    EXPECT_EQ(FieldText(text.title), longValue.substr(0, 15));
    EXPECT_EQ(FieldText(text.deviceType), longValue.substr(0, 31));
    EXPECT_EQ(FieldText(text.internet), longValue.substr(0, 15));
    EXPECT_EQ(text.title[15], '\0');

    // A keyword with no zero before the command byte runs on into the reply: cut at 47.
    Bytes fixed = FixedReply();
    for (std::size_t i = 0; i < fixed.size(); ++i) {
        if (i != 16 && i != 17) {
            fixed[i] = 'k';
        }
    }
    const SearchEntry entry = Parsed(fixed);
    EXPECT_EQ(FieldText(entry.keyword).size(), 47u);
    EXPECT_EQ(FieldText(entry.name), std::string(127, 'k'));
}

TEST(ReplyBoundsTest, BytesPastTheDatagramReadAsZero) {
    // A fixed layout cut after the device address: the rest reads as zero.
    const Bytes full = FixedReply();
    const SearchEntry cut = Parsed(Bytes(full.begin(), full.begin() + 61));
    EXPECT_EQ(FieldText(cut.ipAddress), "192.168.1.10");
    EXPECT_EQ(FieldText(cut.secondAddress), "255.0.0.0");
    EXPECT_EQ(FieldText(cut.fourthAddress), "0.0.0.0");
    EXPECT_EQ(cut.port, 0);
    EXPECT_EQ(FieldText(cut.name), "");

    // A text with no zero byte ends with the datagram.
    const SearchEntry text = Parsed(TextReply("Title=Gate&MAC=02:ab", 1, false));
    EXPECT_EQ(FieldText(text.macAddress), "02:ab");
    const SearchEntry name = Parsed(Bytes(full.begin(), full.begin() + 80));
    EXPECT_EQ(FieldText(name.name), "Fron");
}

}  // namespace
