// Checking devices against the simulated device on loopback: what each kind of record is
// asked and what its answer reads as.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/FixedText.h"
#include "connect/DeviceCheckRun.h"
#include "integration/SimulatedDevice.h"
#include "support/TestDevice.h"

namespace {

constexpr char kMac[] = "02:ab:cd:0a:0b:0c";

DiscoveredDevice SeenBySearch(const char* mac, int port) {
    DiscoveredDevice device{};
    CopyField(device.ipAddress, "127.0.0.1");
    CopyField(device.macAddress, mac);
    device.port = port;
    return device;
}

std::map<RecordId, DeviceStatus> Check(const std::vector<DeviceRecord>& records,
                                       const LanSearchSnapshot& lan) {
    std::vector<DeviceCheckJob> jobs;
    for (const DeviceRecord& record : records) {
        jobs.push_back({jobs.size(), record});
    }
    DeviceCheckRun run(jobs, lan);
    std::map<RecordId, DeviceStatus> statuses;
    run.Run([&](const DeviceCheckResult& result, std::size_t done) {
        statuses[result.id] = result.status;
        EXPECT_EQ(done, statuses.size());
    });
    return statuses;
}

TEST(DeviceCheckIntegrationTest, EachRecordGetsTheStatusItsDeviceAnswers) {
    SimulatedDevice device({"--user", "admin", "--password", "secret"});
    SimulatedDevice silent({"--slow-accept"});
    ASSERT_TRUE(device.IsReady() && silent.IsReady());
    const std::string port = std::to_string(device.HttpPort());
    const std::string silentPort = std::to_string(silent.HttpPort());
    const DeviceTexts credentials{.account = "admin", .password = "secret"};
    auto with = [&](DeviceTexts texts) {
        texts.account = texts.account.empty() ? credentials.account : texts.account;
        texts.password = texts.password.empty() ? credentials.password : texts.password;
        return MakeDevice(texts);
    };
    struct Row {
        DeviceRecord record;
        DeviceStatus expected;
    };
    const Row rows[] = {
        {with({.serverIp = "127.0.0.1", .serverPort = port}), DeviceStatus::kOk},
        {with({.serverIp = "127.0.0.1", .serverPort = port, .password = "wrong"}),
         DeviceStatus::kWrongPassword},
        {with({.serverIp = "127.0.0.1", .serverPort = silentPort}), DeviceStatus::kNoAnswer},
        // Remembered there, and confirmed by its MAC.
        {with({.serverPort = port, .uuid = "U1", .uuidIp = "127.0.0.1", .uuidMac = kMac}),
         DeviceStatus::kOnLan},
        // Where the search saw it.
        {with({.serverPort = "80", .uuid = "U2", .uuidMac = kMac}), DeviceStatus::kOnLan},
        // The device there reports another MAC; the search saw none of this one.
        {with({.serverPort = port,
               .uuid = "U3",
               .uuidIp = "127.0.0.1",
               .uuidMac = "02:00:00:00:00:77"}),
         DeviceStatus::kNotOnLan},
        // Its own MAC unknown: no stranger on the LAN may confirm it.
        {with({.serverPort = port, .uuid = "U4", .uuidIp = "127.0.0.1"}), DeviceStatus::kNotOnLan},
        {with({.name = "nothing to ask"}), DeviceStatus::kNoAnswer},
    };
    std::vector<DeviceRecord> records;
    for (const Row& row : rows) {
        records.push_back(row.record);
    }
    const LanSearchSnapshot finished{false, {SeenBySearch(kMac, device.HttpPort())}};
    const std::map<RecordId, DeviceStatus> statuses = Check(records, finished);
    ASSERT_EQ(statuses.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(statuses.at(i), rows[i].expected) << "row " << i;
    }

    // While the search still runs its list is not looked at, as a double-click would not.
    LanSearchSnapshot running = finished;
    running.running = true;
    EXPECT_EQ(Check({rows[4].record}, running).at(0), DeviceStatus::kNotOnLan);
}

}  // namespace
