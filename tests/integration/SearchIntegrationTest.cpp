// The LAN search against the simulated device on loopback, through to its login page.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "base/FixedText.h"
#include "connect/HttpGet.h"
#include "connect/KeyLines.h"
#include "discovery/DiscoveryList.h"
#include "discovery/DiscoveryResults.h"
#include "integration/SimulatedDevice.h"

namespace {

TEST(SearchIntegrationTest, AnswersOfBothFormsLeadToTheLoginPage) {
    SimulatedDevice device({"--mac", "02:AB:CD:0A:0B:0C", "--form", "both", "--wrong-echo",
                            "--user", "admin", "--password", "secret"});
    ASSERT_TRUE(device.IsReady());
    const DiscoveryResults results = CollectDiscoveryResults(device.Target(), {});
    // The simulator checks the request's layout and reports only well-formed ones.
    EXPECT_EQ(device.NextLine(std::chrono::seconds(1)).rfind("search request from 127.0.0.1:", 0),
              0u);
    ASSERT_TRUE(results.searched);
    EXPECT_EQ(results.entries, 2);
    // The fixed layout gives lower case, the text form the case as sent: two records.
    ASSERT_EQ(results.devices.size(), 2u);
    EXPECT_EQ(FieldText(results.devices[0].macAddress), "02:ab:cd:0a:0b:0c");
    EXPECT_EQ(FieldText(results.devices[1].macAddress), "02:AB:CD:0A:0B:0C");

    const DiscoveredDevice* found = FindDeviceByMac(results.devices, "02:AB:CD:0A:0B:0C");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found, &results.devices[0]);
    EXPECT_EQ(found->port, device.HttpPort());
    const std::string url = "http://" + std::string(FieldText(found->ipAddress)) + ":" +
                            std::to_string(found->port) + "/Login.cgi";
    const std::unique_ptr<char[]> reply = HttpGet(url.c_str(), "admin", "secret");
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(KeyLineValue(ReplyLines(reply.get()).at(0), "MAC-Address"), "02:AB:CD:0A:0B:0C");
}

TEST(SearchIntegrationTest, OneAnswerThenFiveSecondsOfSilence) {
    SimulatedDevice device({"--name", "Gate"});
    ASSERT_TRUE(device.IsReady());
    std::vector<SearchEntry> table(kSearchCapacity);
    const auto start = std::chrono::steady_clock::now();
    const SearchReport report = SearchDevices(table, device.Target());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(report.answered);
    EXPECT_EQ(report.end, SearchEnd::kSilence);
    ASSERT_EQ(report.count, 1);
    EXPECT_EQ(FieldText(table[0].name), "Gate");
    EXPECT_GT(seconds, 4.8);
    EXPECT_LT(seconds, 7.0);
}

TEST(SearchIntegrationTest, AFloodFillsTheTableAtItsCapacity) {
    // One answer a millisecond or slower: the socket's queue holds a few hundred.
    SimulatedDevice device({"--flood", "1100", "--interval", "1"});
    ASSERT_TRUE(device.IsReady());
    std::vector<SearchEntry> table(kSearchCapacity);
    const SearchReport report = SearchDevices(table, device.Target());
    EXPECT_EQ(report.end, SearchEnd::kTableFull);
    EXPECT_EQ(report.count, 1024);
    EXPECT_EQ(RemoveDuplicateMacs(std::span(table).first(1024)).size(), 1024u);
}

}  // namespace
