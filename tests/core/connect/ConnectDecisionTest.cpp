#include "connect/ConnectDecision.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

#include "addressbook/AddressBook.h"
#include "base/FixedText.h"
#include "connect/Ipv4Text.h"
#include "connect/NatInfoQueue.h"
#include "connect/NatRequest.h"
#include "support/TestDevice.h"

namespace {

// Records every effect the decision asks for and answers from tables.
class FakeEffects : public ConnectEffects {
public:
    std::map<std::string, std::string> pages;            // url -> reply; others give no reply
    std::map<std::string, ConnectionTarget> discovered;  // MAC -> where the search saw it
    bool launchSucceeds = true;

    std::vector<std::string> fetched;
    std::vector<std::string> launched;
    std::vector<std::string> debugLines;
    int saves = 0;

    std::optional<std::string> FetchPage(const std::string& url, const DeviceRecord&) override {
        fetched.push_back(url);
        const auto page = pages.find(url);
        return page == pages.end() ? std::nullopt : std::optional<std::string>(page->second);
    }
    std::optional<ConnectionTarget> FindDiscoveredDevice(std::string_view mac) override {
        const auto found = discovered.find(std::string(mac));
        return found == discovered.end() ? std::nullopt
                                         : std::optional<ConnectionTarget>(found->second);
    }
    bool LaunchViewer(const std::string& commandLine) override {
        launched.push_back(commandLine);
        return launchSucceeds;
    }
    void SaveAddressBook() override { ++saves; }
    void Debug(const std::string& line) override { debugLines.push_back(line); }
};

const ViewerSettings kSettings{"C:\\T\\", Language::kEnglish};
constexpr const char kMac[] = "00:11:22:AA:BB:CC";
constexpr const char kRemembered[] = "http://192.168.1.9:80/Login.cgi";
constexpr const char kDiscovered[] = "http://192.168.1.20:8000/Login.cgi";

DeviceRecord CloudDevice(const char* uuidIp = "192.168.1.9") {
    return MakeDevice({.name = "Cabin",
                       .serverPort = "80",
                       .account = "admin",
                       .password = "pw",
                       .uuid = "KX3W8N1F6TZ0",
                       .uuidIp = uuidIp,
                       .uuidMac = kMac});
}

std::string IpOf(const std::string& commandLine) {
    const std::size_t start = commandLine.find("IP=") + 3;
    return commandLine.substr(start, commandLine.find('#') - start);
}

struct Outcome {
    ConnectStep step;
    ConnectionTarget target;
};

Outcome DoubleClick(DeviceRecord& record, FakeEffects& effects, bool discoveryRunning = false) {
    ConnectionTarget target;
    const ConnectStep step =
        DecideDoubleClick(record, discoveryRunning, target, kSettings, effects);
    return {step, target};
}

TEST(ConnectDecisionTest, StaticAddressLaunchesAtOnceWithoutAnyRequest) {
    DeviceRecord record = CloudDevice();
    CopyField(record.serverIp, "10.0.0.5");
    FakeEffects effects;
    EXPECT_EQ(DoubleClick(record, effects).step, ConnectStep::kLaunched);
    ASSERT_EQ(effects.launched.size(), 1u);
    EXPECT_EQ(IpOf(effects.launched[0]), "10.0.0.5");
    EXPECT_NE(effects.launched[0].find("#DEVICEUUID=KX3W8N1F6TZ0#"), std::string::npos);
    EXPECT_NE(effects.launched[0].find("#CONNECTTYPE=STATIC IP#"), std::string::npos);
    EXPECT_TRUE(effects.fetched.empty());
    EXPECT_EQ(effects.debugLines,
              std::vector<std::string>{"[Tavrin] " + effects.launched[0] + " \n"});
}

TEST(ConnectDecisionTest, NoAddressAndNoUuidDoesNothing) {
    DeviceRecord record{};
    FakeEffects effects;
    EXPECT_EQ(DoubleClick(record, effects).step, ConnectStep::kNothing);
    EXPECT_TRUE(effects.fetched.empty() && effects.launched.empty());
}

TEST(ConnectDecisionTest, RememberedAddressConfirmedByItsMacLaunchesThere) {
    DeviceRecord record = CloudDevice();
    FakeEffects effects;
    effects.pages[kRemembered] = "Status=ok\nMAC-Address=" + std::string(kMac) + "\n";
    EXPECT_EQ(DoubleClick(record, effects, /*discoveryRunning=*/true).step, ConnectStep::kLaunched);
    ASSERT_EQ(effects.launched.size(), 1u);
    EXPECT_EQ(IpOf(effects.launched[0]), "192.168.1.9");
    EXPECT_NE(effects.launched[0].find("#PORT=80#"), std::string::npos);
    EXPECT_EQ(effects.fetched,
              std::vector<std::string>{kRemembered});  // no LAN check while running
    EXPECT_TRUE(effects.debugLines.empty());
}

TEST(ConnectDecisionTest, RememberedAddressAnsweringWithAnotherMacIsForgotten) {
    struct Case {
        const char* reply;
        bool forgotten;
    };
    const Case cases[] = {
        {"MAC-Address=00:11:22:33:44:55\n", true},
        {"MAC-Address=00:11:22:aa:bb:cc\n", true},
        {"MAC-Address=00:11:22:AA:BB:CC\r\n", true},  // the CR belongs to the value
        {"MAC-Address=\n", false},                    // no value: no MAC line at all
        {"Login failed\n", false},
    };
    for (const Case& c : cases) {
        DeviceRecord record = CloudDevice();
        FakeEffects effects;
        effects.pages[kRemembered] = c.reply;
        EXPECT_EQ(DoubleClick(record, effects, true).step, ConnectStep::kNeedsTunnel) << c.reply;
        EXPECT_EQ(FieldText(record.uuidIp).empty(), c.forgotten) << c.reply;
        EXPECT_TRUE(effects.launched.empty());
    }
    // No reply at all changes nothing either.
    DeviceRecord record = CloudDevice();
    FakeEffects silent;
    EXPECT_EQ(DoubleClick(record, silent, true).step, ConnectStep::kNeedsTunnel);
    EXPECT_EQ(FieldText(record.uuidIp), "192.168.1.9");
}

TEST(ConnectDecisionTest, RememberedCheckReadsEveryLineButTheLanCheckOnlyTheFirst) {
    const std::string later = "Name=cam\nMAC-Address=" + std::string(40, 'x') +
                              "\nMAC-Address=" + std::string(kMac) + "\n";
    DeviceRecord remembered = CloudDevice();
    FakeEffects effects;
    effects.pages[kRemembered] = later;  // a 40-character value does not count; the next does
    EXPECT_EQ(DoubleClick(remembered, effects, true).step, ConnectStep::kLaunched);

    DeviceRecord lan = CloudDevice("");
    FakeEffects search;
    search.discovered[kMac] = ConnectionTarget{"192.168.1.20", 8000};
    search.pages[kDiscovered] = later;
    EXPECT_EQ(DoubleClick(lan, search).step, ConnectStep::kNeedsTunnel);
    EXPECT_EQ(FieldText(lan.uuidIp), "");
}

TEST(ConnectDecisionTest, DeviceSeenByTheSearchLaunchesAtItsAddressWithTheStoredPort) {
    DeviceRecord record = CloudDevice("");
    FakeEffects effects;
    effects.discovered[kMac] = ConnectionTarget{"192.168.1.20", 8000};
    effects.pages[kDiscovered] = "MAC-Address=" + std::string(kMac) + "\n";
    const Outcome outcome = DoubleClick(record, effects);
    EXPECT_EQ(outcome.step, ConnectStep::kLaunched);
    EXPECT_EQ(outcome.target.address, "192.168.1.20");
    EXPECT_EQ(FieldText(record.uuidIp), "192.168.1.20");  // remembered for the next time
    ASSERT_EQ(effects.launched.size(), 1u);
    EXPECT_EQ(IpOf(effects.launched[0]), "192.168.1.20");
    EXPECT_NE(effects.launched[0].find("#PORT=80#"), std::string::npos);
}

TEST(ConnectDecisionTest, AnAddressThatIsNoPlainIpv4IsNeverUsed) {
    for (const char* address : {"attacker.example", "10.0.0.1:8080", "10.0.0.1/x", " 10.0.0.1",
                                "010.0.0.1", "10.0.0.256", "10.0.0"}) {
        DeviceRecord record = CloudDevice("");
        FakeEffects effects;
        effects.discovered[kMac] = ConnectionTarget{address, 80};
        EXPECT_EQ(DoubleClick(record, effects).step, ConnectStep::kNeedsTunnel) << address;
        EXPECT_TRUE(effects.fetched.empty()) << address;  // the credentials went nowhere
    }
    EXPECT_TRUE(IsDottedIpv4("192.168.1.20"));
    EXPECT_TRUE(IsDottedIpv4("0.0.0.0"));
}

TEST(ConnectDecisionTest, WithoutAStoredMacNoAddressIsAskedAndNoCredentialsGoAnywhere) {
    for (const char* uuidIp : {"", "192.168.1.9"}) {
        DeviceRecord record = CloudDevice(uuidIp);
        CopyField(record.uuidMac, "");
        FakeEffects effects;
        // A search answer without a MAC, and pages that would confirm anything.
        effects.discovered[""] = ConnectionTarget{"192.168.1.20", 8000};
        effects.pages[kDiscovered] = "MAC-Address=66:77:88:99:AA:BB\n";
        effects.pages[kRemembered] = "MAC-Address=66:77:88:99:AA:BB\n";
        EXPECT_EQ(DoubleClick(record, effects).step, ConnectStep::kNeedsTunnel) << uuidIp;
        EXPECT_TRUE(effects.fetched.empty()) << uuidIp;
        EXPECT_EQ(FieldText(record.uuidIp), uuidIp);
    }
}

TEST(ConnectDecisionTest, ConfirmedRememberedAddressSurvivesAForeignAnswerOnTheLan) {
    DeviceRecord record = CloudDevice();
    FakeEffects effects;
    effects.pages[kRemembered] = "MAC-Address=" + std::string(kMac) + "\n";
    effects.discovered[kMac] = ConnectionTarget{"192.168.1.20", 8000};
    effects.pages[kDiscovered] = "MAC-Address=66:77:88:99:AA:BB\n";
    EXPECT_EQ(DoubleClick(record, effects).step, ConnectStep::kLaunched);
    ASSERT_EQ(effects.launched.size(), 1u);
    EXPECT_EQ(IpOf(effects.launched[0]), "192.168.1.9");
    EXPECT_EQ(FieldText(record.uuidIp), "192.168.1.9");
}

TEST(ConnectDecisionTest, OverlongCommandLineIsRefused) {
    DeviceRecord record = CloudDevice();
    CopyField(record.serverIp, "10.0.0.5");
    // A long folder, cut to its 259 characters, and a long UUID.
    CopyField(record.uuid, std::string(127, 'u'));
    FakeEffects effects;
    ConnectionTarget target;
    const ViewerSettings longFolder{std::string(400, 'f'), Language::kEnglish};
    EXPECT_EQ(DecideDoubleClick(record, false, target, longFolder, effects),
              ConnectStep::kCommandLineTooLong);
    EXPECT_TRUE(effects.launched.empty());
}

TEST(ConnectDecisionTest, TunnelRequestPortIsTheLeadingNumberIn16Bits) {
    EXPECT_EQ(TunnelRequestPort("0080"), 80);
    EXPECT_EQ(TunnelRequestPort(" +554x"), 554);
    EXPECT_EQ(TunnelRequestPort("70000"), 70000 & 0xFFFF);
    EXPECT_EQ(TunnelRequestPort(""), 0);
}

TEST(TunnelConnectionTest, LaunchesOnTheTunnelThenLearnsAndSavesTheLanAddress) {
    DeviceRecord record = CloudDevice("");
    CopyField(record.uuidMac, "");
    FakeEffects effects;
    const ConnectionTarget tunnel{"127.0.0.1", 50123};
    const std::string config =
        "http://127.0.0.1:50123/cgi-bin/user/Config.cgi?action=get&category=Network.*";
    effects.pages[config] =
        "Network.IPAddress=10.1.1.1\nNetwork.eth0.MACAddress=AA:AA:AA:AA:AA:AA\n"
        "Network.IPAddress=192.168.1.30\nNetwork.IPAddress=evil.example\n"
        "Network.eth0.MACAddress=00:11:22:33:44:55\n";
    EXPECT_EQ(CompleteTunnelConnection(record, tunnel, 48, kSettings, effects),
              ConnectStep::kLaunched);
    ASSERT_EQ(effects.launched.size(), 1u);
    EXPECT_NE(effects.launched[0].find("IP=127.0.0.1#PORT=50123#"), std::string::npos);
    EXPECT_NE(effects.launched[0].find("#CONNECTTYPE=P2P#"), std::string::npos);
    EXPECT_EQ(FieldText(record.uuidIp), "192.168.1.30");
    EXPECT_EQ(FieldText(record.uuidMac), "00:11:22:33:44:55");
    EXPECT_EQ(effects.saves, 1);
}

// A device's reply is the device's, the book is ours: whatever a Config.cgi reply says, the
// book read back holds the other devices byte for byte, and a MAC of its shape or none.
TEST(TunnelConnectionTest, NoReplyRewritesAnotherDevice) {
    const struct {
        const char* what;
        const char* mac;
        const char* learned;
    } replies[] = {
        {"a section in the MAC", "x\r[Gate]\rSERVERIP=6.6.6.6", ""},
        {"CR LF lines", "aa:bb:cc:dd:ee:ff\r", "aa:bb:cc:dd:ee:ff"},
        {"a quote before it", "\"aa:bb:cc:dd:ee:ff", ""},
        {"hyphens", "AA-BB-CC-DD-EE-FF", "AA-BB-CC-DD-EE-FF"},
        {"mixed separators", "aa:bb-cc:dd:ee:ff", ""},
    };
    for (const auto& reply : replies) {
        SCOPED_TRACE(reply.what);
        DeviceTable book;
        book.Append(MakeDevice({.name = "Front", .serverIp = "10.0.0.5", .password = "x"}));
        DeviceRecord cloud = CloudDevice("");
        CopyField(cloud.uuidMac, "");
        book.Append(cloud);
        book.Append(MakeDevice({.name = "Gate", .serverIp = "10.0.0.7", .password = "y"}));
        FakeEffects effects;
        effects.pages["http://127.0.0.1:1/cgi-bin/user/Config.cgi?action=get&category=Network.*"] =
            std::string("Network.IPAddress=192.168.1.30\nNetwork.eth0.MACAddress=") + reply.mac +
            "\n";
        CompleteTunnelConnection(book.At(1), {"127.0.0.1", 1}, 48, kSettings, effects);
        EXPECT_EQ(FieldText(book.At(1).uuidMac), reply.learned);

        DeviceTable loaded;
        ASSERT_FALSE(ReadAddressBookBytes(FormatAddressBook(book), loaded));
        ASSERT_EQ(loaded.Count(), 3u);
        for (const std::size_t other : {0u, 2u}) {
            EXPECT_EQ(std::memcmp(&loaded.At(other), &book.At(other), sizeof(DeviceRecord)), 0);
        }
        EXPECT_EQ(FieldText(loaded.At(1).uuidMac), reply.learned);
    }
}

TEST(TunnelConnectionTest, NothingLearnedNothingSavedAndNoRequestWithoutAViewer) {
    DeviceRecord record = CloudDevice("");
    FakeEffects effects;
    effects.launchSucceeds = false;
    EXPECT_EQ(CompleteTunnelConnection(record, {"127.0.0.1", 1}, 49, kSettings, effects),
              ConnectStep::kLaunched);
    EXPECT_NE(effects.launched[0].find("#CONNECTTYPE=RELAY#"), std::string::npos);
    EXPECT_TRUE(effects.fetched.empty());

    FakeEffects silent;  // the device does not answer through the tunnel
    EXPECT_EQ(CompleteTunnelConnection(record, {"127.0.0.1", 1}, 48, kSettings, silent),
              ConnectStep::kLaunched);
    EXPECT_EQ(silent.saves, 0);
}

TEST(ConnectResultTest, StatusNumbersAndText) {
    EXPECT_EQ(ConnectResultText(true, 1, {"127.0.0.1", 50123}), "0\t0\t127.0.0.1\t50123\t");
    EXPECT_EQ(ConnectResultText(false, 1, {"", 0}), "0\t-1\t\t0\t");  // 1 after a failure
    EXPECT_EQ(ConnectStatusFor(false, 15), -5);
    EXPECT_EQ(ConnectStatusFor(false, 17), -11);
    EXPECT_EQ(ConnectStatusFor(false, 0), -1);
    EXPECT_EQ(ConnectStatusFor(false, 99), -1);
}

TEST(NatRequestTest, HoldsTheUuidWholeUpTo127BytesAndTheFixedTexts) {
    const std::string uuid(127, 'U');
    const NatRequest request = MakeNatRequest(uuid + "cut", 554);
    EXPECT_EQ(FieldText(request.hostName), uuid);
    EXPECT_EQ(request.port, 554);
    EXPECT_EQ(FieldText(request.user), "guest");
    EXPECT_EQ(FieldText(request.password), "guest");
    EXPECT_EQ(FieldText(request.reserved8), "");
    EXPECT_FALSE(FieldText(request.serverHost).empty());
}

TEST(NatInfoQueueTest, TakesTheWaitingTextsOnceAndKeepsTheNewestWhenFull) {
    NatInfoQueue queue;
    EXPECT_TRUE(queue.TakeAll().empty());  // a message nobody's callback sent
    queue.Push("a");
    queue.Push("b");
    EXPECT_EQ(queue.TakeAll(), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(queue.TakeAll().empty());

    for (std::size_t i = 0; i < NatInfoQueue::kMaxTexts + 3; ++i) {
        queue.Push(std::to_string(i));
    }
    const std::vector<std::string> kept = queue.TakeAll();
    ASSERT_EQ(kept.size(), NatInfoQueue::kMaxTexts);
    EXPECT_EQ(kept.front(), "3");
    EXPECT_EQ(kept.back(), std::to_string(NatInfoQueue::kMaxTexts + 2));

    // A flood asks for one message until the window takes the texts, or the post fails.
    EXPECT_TRUE(queue.Push("x"));
    EXPECT_FALSE(queue.Push("y"));
    queue.PostFailed();
    EXPECT_TRUE(queue.Push("z"));
    EXPECT_EQ(queue.TakeAll().size(), 3u);
    EXPECT_TRUE(queue.Push("w"));
}

}  // namespace
