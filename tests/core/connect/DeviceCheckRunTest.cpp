// A check of many devices: how many requests it has under way, and what a cancel ends.
#include "connect/DeviceCheckRun.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "support/TestDevice.h"

namespace {

TEST(DeviceCheckRunTest, HoldsAtMostEightRequestsAndACancelEndsThemUnreported) {
    std::vector<DeviceCheckJob> jobs;
    for (RecordId id = 0; id < 300; ++id) {
        jobs.push_back({id, MakeDevice({.serverIp = "192.0.2.1", .serverPort = "80"})});
    }
    // Every request waits for the cancel, so the ones under way pile up to the limit.
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t started = 0;
    DeviceCheckRun run(
        jobs, {},
        [&](const std::string&, const DeviceRecord&, const std::function<bool()>& cancelled) {
            {
                const std::lock_guard<std::mutex> lock(mutex);
                ++started;
            }
            changed.notify_all();
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, cancelled);
            return HttpAnswer{200, nullptr};
        });
    int reported = 0;
    std::thread checking(
        [&] { run.Run([&](const DeviceCheckResult&, std::size_t) { ++reported; }); });
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return started >= DeviceCheckRun::kMaxRequests; });
        run.Cancel();
    }
    changed.notify_all();
    checking.join();
    EXPECT_EQ(started, DeviceCheckRun::kMaxRequests);
    EXPECT_EQ(reported, 0);
    EXPECT_EQ(run.Total(), 300u);
}

}  // namespace
