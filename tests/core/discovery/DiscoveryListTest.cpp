#include "discovery/DiscoveryList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/FixedText.h"
#include "discovery/DiscoveryResults.h"
#include "core/discovery/LoopbackDevice.h"

namespace {

SearchEntry Entry(std::string_view mac, std::string_view ip, std::uint16_t port = 80) {
    SearchEntry entry{};
    CopyField(entry.macAddress, mac);
    CopyField(entry.ipAddress, ip);
    entry.port = port;
    return entry;
}

std::vector<std::string> IpsOf(const std::vector<DiscoveredDevice>& devices) {
    std::vector<std::string> ips;
    for (const DiscoveredDevice& device : devices) {
        ips.emplace_back(FieldText(device.ipAddress));
    }
    return ips;
}

TEST(DiscoveryListTest, FirstAnswerOfEachMacTextWins) {
    const std::vector<SearchEntry> entries = {
        Entry("02:ab:cd:0a:0b:0c", "10.0.0.1"),
        Entry("02:ab:cd:0a:0b:0c", "10.0.0.2"),
        Entry("02:AB:CD:0A:0B:0C", "10.0.0.3"),  // another text: another record
        Entry("", "10.0.0.4"),
        Entry("02:00:00:00:00:01", "10.0.0.5"),
        Entry("", "10.0.0.6"),  // entries without a MAC fold into one
    };
    EXPECT_EQ(IpsOf(RemoveDuplicateMacs(entries)),
              (std::vector<std::string>{"10.0.0.1", "10.0.0.3", "10.0.0.4", "10.0.0.5"}));
    EXPECT_TRUE(RemoveDuplicateMacs({}).empty());
}

TEST(DiscoveryListTest, RecordCutsTheKeywordAndWidensTheNumbers) {
    SearchEntry entry = Entry("02:ab:cd:0a:0b:0c", "192.168.1.10", 65535);
    entry.status = 200;
    CopyField(entry.keyword, "A-KEYWORD-LONGER-THAN-SIXTEEN");
    CopyField(entry.fourthAddress, "8.8.8.8");
    CopyField(entry.cloudLoginName, "me");
    CopyField(entry.wirelessDevice, "wlan0");
    const DiscoveredDevice device = MakeDiscoveredDevice(entry);
    EXPECT_EQ(FieldText(device.keyword), "A-KEYWORD-LONGE");  // 15 characters and the zero
    EXPECT_EQ(device.status, 200);
    EXPECT_EQ(device.port, 65535);
    EXPECT_EQ(FieldText(device.fourthAddress), "8.8.8.8");
    EXPECT_EQ(FieldText(device.cloudLoginName), "me");
    EXPECT_EQ(FieldText(device.wirelessDevice), "wlan0");
}

TEST(DiscoveryListTest, LookUpIgnoresLetterCaseAndTakesTheFirstMatch) {
    const std::vector<DiscoveredDevice> devices = RemoveDuplicateMacs(std::vector<SearchEntry>{
        Entry("02:ab:cd:0a:0b:0c", "10.0.0.1"),
        Entry("02:AB:CD:0A:0B:0C", "10.0.0.2"),
        Entry("02:ab:cd:0a:0b:0c:ee", "10.0.0.3"),
        Entry("", "10.0.0.4"),
    });
    struct Case {
        const char* mac;
        const char* ip;  // null: no match
    };
    const Case cases[] = {
        {"02:AB:CD:0A:0B:0C", "10.0.0.1"},
        {"02:ab:cd:0a:0b:0c", "10.0.0.1"},
        {"02:AB:CD:0A:0B:0C ", nullptr},
        {"02:AB:CD:0A:0B:0", nullptr},
        {"02:ab:cd:0a:0b:0c:EE", "10.0.0.3"},  // the first 18 characters agree
        {"02:ab:cd:0a:0b:0c:ff", "10.0.0.3"},  // the 19th and later are never compared
        {"", "10.0.0.4"},
        {"02:ab:cd:0a:0b:0d", nullptr},
    };
    for (const Case& c : cases) {
        const DiscoveredDevice* found = FindDeviceByMac(devices, c.mac);
        if (c.ip == nullptr) {
            EXPECT_EQ(found, nullptr) << c.mac;
        } else {
            ASSERT_NE(found, nullptr) << c.mac;
            EXPECT_EQ(FieldText(found->ipAddress), c.ip) << c.mac;
        }
    }
    EXPECT_EQ(FindDeviceByMac({}, "02:ab:cd:0a:0b:0c"), nullptr);
}

TEST(DiscoveryListTest, DebuggerLineCountsEntriesAndRecords) {
    EXPECT_EQ(DiscoveryDebugLine(3, 2), "??? Device All=3, Real Device=2.\n");
}

TEST(CollectDiscoveryResultsTest, ThreeAnswersFromTwoDevicesGiveTwoRecords) {
    SocketLibrary sockets;
    FixedReplyFields other;
    other.mac[5] = 0x0D;
    other.ip[3] = 11;
    LoopbackDevice device(
        {{FixedReply()}, {FixedReply(other)}, {FixedReply()}, {WrongCommandReply()}});
    const DiscoveryResults results = CollectDiscoveryResults(device.Target(), {});
    EXPECT_TRUE(results.searched);
    EXPECT_EQ(results.entries, 3);
    EXPECT_EQ(IpsOf(results.devices), (std::vector<std::string>{"192.168.1.10", "192.168.1.11"}));

    LoopbackDevice silent({{WrongCommandReply()}});
    const DiscoveryResults none = CollectDiscoveryResults(silent.Target(), {});
    EXPECT_FALSE(none.searched);
    EXPECT_TRUE(none.devices.empty());
}

}  // namespace
