// HttpGet against the simulated device on loopback: credentials, time limits, long replies
// and line endings, read with the key-line rule.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

#include "connect/HttpGet.h"
#include "connect/KeyLines.h"
#include "integration/SimulatedDevice.h"

namespace {

constexpr char kMac[] = "02:ab:cd:0a:0b:0c";

struct TimedReply {
    std::string text;
    double seconds;
};

TimedReply Fetch(const std::string& url, const char* user = "admin",
                 const char* password = "secret") {
    const auto start = std::chrono::steady_clock::now();
    const std::unique_ptr<char[]> reply = HttpGet(url.c_str(), user, password);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {reply ? reply.get() : "<no buffer>", seconds};
}

TEST(HttpGetIntegrationTest, SendsCredentialsOnlyWhenBothAreSet) {
    SimulatedDevice device({"--user", "admin", "--password", "secret"});
    ASSERT_TRUE(device.IsReady());
    const std::string login = device.Url("/Login.cgi");
    struct Case {
        const char* user;
        const char* password;
        const char* firstLine;
    };
    const Case cases[] = {
        {"admin", "secret", "MAC-Address=02:ab:cd:0a:0b:0c"},
        {"admin", "", "Auth=missing"},
        {"", "secret", "Auth=missing"},
        {"", "", "Auth=missing"},
        {"admin", "wrong", "Auth=wrong"},
    };
    for (const Case& c : cases) {
        const std::string reply = Fetch(login, c.user, c.password).text;
        const std::vector<std::string_view> lines = ReplyLines(reply);
        ASSERT_FALSE(lines.empty()) << c.user << ":" << c.password;
        EXPECT_EQ(lines[0], c.firstLine) << c.user << ":" << c.password;
    }

    // A device that asks for no credentials answers a request without them.
    SimulatedDevice open({});
    ASSERT_TRUE(open.IsReady());
    const std::string reply = Fetch(open.Url("/Login.cgi"), "", "").text;
    EXPECT_EQ(FindKeyLine(reply, "MAC-Address"), kMac);
}

TEST(HttpGetIntegrationTest, GoesStraightToTheDeviceWhateverTheProxyVariablesSay) {
    SimulatedDevice device({"--user", "admin", "--password", "secret"});
    SimulatedDevice proxy({"--mac", "02:00:00:00:00:99"});  // would log any request it got
    ASSERT_TRUE(device.IsReady() && proxy.IsReady());
    const std::string proxyUrl = "http://127.0.0.1:" + std::to_string(proxy.HttpPort());
    const char* const variables[] = {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"};
    for (const char* variable : variables) {
        setenv(variable, proxyUrl.c_str(), 1);
    }
    const std::string reply = Fetch(device.Url("/Login.cgi")).text;
    for (const char* variable : variables) {
        unsetenv(variable);
    }
    EXPECT_EQ(FindKeyLine(reply, "MAC-Address"), kMac);
    EXPECT_EQ(proxy.NextLine(std::chrono::milliseconds(300)), "");
}

TEST(HttpGetIntegrationTest, ReadsTheNetworkPage) {
    SimulatedDevice device({"--user", "admin", "--password", "secret", "--ip", "192.168.1.10"});
    ASSERT_TRUE(device.IsReady());
    const std::string reply =
        Fetch(device.Url("/cgi-bin/user/Config.cgi?action=get&category=Network.*")).text;
    EXPECT_EQ(FindKeyLine(reply, "Network.IPAddress"), "192.168.1.10");
    EXPECT_EQ(FindKeyLine(reply, "Network.eth0.MACAddress"), kMac);
}

TEST(HttpGetIntegrationTest, CrLfLinesKeepTheirCrInTheValue) {
    SimulatedDevice device({"--user", "admin", "--password", "secret", "--crlf"});
    ASSERT_TRUE(device.IsReady());
    const std::string reply = Fetch(device.Url("/Login.cgi")).text;
    const auto value = FindKeyLine(reply, "MAC-Address");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(*value, std::string(kMac) + "\r");
    EXPECT_EQ(value->size(), 18u);
}

TEST(HttpGetIntegrationTest, AReplyOver8KiBKeepsItsFirst8191Bytes) {
    SimulatedDevice device({"--user", "admin", "--password", "secret", "--pad", "20480"});
    ASSERT_TRUE(device.IsReady());
    const std::string reply = Fetch(device.Url("/Login.cgi")).text;
    EXPECT_EQ(reply.size(), 8191u);
    EXPECT_EQ(FindKeyLine(reply, "MAC-Address"), kMac);
    EXPECT_EQ(ReplyLines(reply).back().substr(0, 6), "Filler");
}

TEST(HttpGetIntegrationTest, AnAcceptThatNeverComesEndsAfterAboutOneSecond) {
    SimulatedDevice device({"--slow-accept"});
    ASSERT_TRUE(device.IsReady());
    const TimedReply reply = Fetch(device.Url("/Login.cgi"));
    EXPECT_EQ(reply.text, "");
    EXPECT_GT(reply.seconds, 0.8);
    EXPECT_LT(reply.seconds, 2.5);
}

TEST(HttpGetIntegrationTest, ASlowBodyIsCutAtThreeSecondsKeepingWhatArrived) {
    SimulatedDevice device({"--user", "admin", "--password", "secret", "--slow-body", "8"});
    ASSERT_TRUE(device.IsReady());
    const TimedReply reply = Fetch(device.Url("/Login.cgi"));
    EXPECT_GT(reply.seconds, 2.5);
    EXPECT_LT(reply.seconds, 4.5);
    EXPECT_EQ(FindKeyLine(reply.text, "MAC-Address"), kMac);
    EXPECT_NE(reply.text.find("Slow8=1"), std::string::npos);
    EXPECT_EQ(reply.text.find("End=1"), std::string::npos);
}

}  // namespace
