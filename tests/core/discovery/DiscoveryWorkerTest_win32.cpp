// The discovery worker's thread, stop and hand-over under the real platform, with the search
// aimed at a device on loopback.
#include "discovery/DiscoveryWorker_win32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "base/FixedText.h"
#include "core/discovery/LoopbackDevice.h"
#include "support/StopTiming.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Polls until the run is over; false if it is not within the limit.
bool WaitForEnd(const CDiscoveryWorker& worker, milliseconds limit = milliseconds(8000)) {
    const Clock::time_point deadline = Clock::now() + limit;
    while (worker.IsRunning()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(milliseconds(10));
    }
    return true;
}

CDiscoveryWorker::Runner SearchAt(const SearchTarget& target) {
    return [target](const StopRequested& stop) { return CollectDiscoveryResults(target, stop); };
}

class DiscoveryWorkerTest : public ::testing::Test {
protected:
    SocketLibrary m_sockets;  // for the loopback device; the worker starts its own
    char m_targetAddress[128] = "unchanged";
    std::uint16_t m_targetPort = 1;
};

TEST_F(DiscoveryWorkerTest, HandsOverTheListOnceTheRunHasEnded) {
    FixedReplyFields other;
    other.mac[5] = 0x0D;
    other.ip[3] = 11;
    other.port = {0x90, 0x1F};
    LoopbackDevice device({{FixedReply(), milliseconds(300)},
                           {FixedReply(other)},
                           {TextReply("MAC=02:ab:cd:0a:0b:0c&IPAddress=10.9.9.9")},
                           {WrongCommandReply()}});
    CDiscoveryWorker worker(SearchAt(device.Target()));
    worker.StartDiscovery();
    EXPECT_TRUE(worker.IsRunning());
    // Nothing is read while the worker is still filling the list.
    EXPECT_FALSE(worker.FindDiscoveredDevice("02:ab:cd:0a:0b:0c", m_targetAddress, m_targetPort));
    EXPECT_EQ(worker.DiscoveredCount(), 0);
    EXPECT_TRUE(worker.DiscoveredDevices().empty());

    ASSERT_TRUE(WaitForEnd(worker));
    EXPECT_EQ(worker.DiscoveredCount(), 2);
    const std::vector<DiscoveredDevice> found = worker.DiscoveredDevices();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(FieldText(found[0].macAddress), "02:ab:cd:0a:0b:0c");
    EXPECT_EQ(FieldText(found[1].macAddress), "02:ab:cd:0a:0b:0d");
    ASSERT_TRUE(worker.FindDiscoveredDevice("02:AB:CD:0A:0B:0D", m_targetAddress, m_targetPort));
    EXPECT_EQ(FieldText(m_targetAddress), "192.168.1.11");
    EXPECT_EQ(m_targetPort, 8080);
    // The first answer of a device wins over its later text reply.
    ASSERT_TRUE(worker.FindDiscoveredDevice("02:ab:cd:0a:0b:0c", m_targetAddress, m_targetPort));
    EXPECT_EQ(FieldText(m_targetAddress), "192.168.1.10");
    EXPECT_EQ(m_targetPort, 80);
    // A miss changes nothing.
    EXPECT_FALSE(worker.FindDiscoveredDevice("02:ab:cd:0a:0b:0e", m_targetAddress, m_targetPort));
    EXPECT_EQ(FieldText(m_targetAddress), "192.168.1.10");

    worker.StopDiscovery();
    EXPECT_EQ(worker.DiscoveredCount(), 0);
    EXPECT_TRUE(worker.DiscoveredDevices().empty());
    EXPECT_FALSE(worker.FindDiscoveredDevice("02:ab:cd:0a:0b:0c", m_targetAddress, m_targetPort));
}

TEST_F(DiscoveryWorkerTest, AFailedSearchLeavesNoList) {
    CDiscoveryWorker worker([](const StopRequested&) { return DiscoveryResults{}; });
    worker.StartDiscovery();
    ASSERT_TRUE(WaitForEnd(worker));
    EXPECT_EQ(worker.DiscoveredCount(), 0);
    EXPECT_FALSE(worker.FindDiscoveredDevice("", m_targetAddress, m_targetPort));
    EXPECT_EQ(FieldText(m_targetAddress), "unchanged");
    EXPECT_EQ(m_targetPort, 1);
}

TEST_F(DiscoveryWorkerTest, StartDuringARunDoesNothing) {
    auto runs = std::make_shared<std::atomic<int>>(0);
    CDiscoveryWorker worker([runs](const StopRequested& stop) {
        ++*runs;
        while (!stop()) {
            std::this_thread::sleep_for(milliseconds(10));
        }
        return DiscoveryResults{};
    });
    worker.StartDiscovery();
    std::this_thread::sleep_for(milliseconds(100));
    worker.StartDiscovery();
    worker.StartDiscovery();
    EXPECT_TRUE(worker.IsRunning());
    worker.StopDiscovery();
    EXPECT_EQ(runs->load(), 1);
    EXPECT_FALSE(worker.IsRunning());

    // After a finished run, Start begins a new one.
    worker.StartDiscovery();
    std::this_thread::sleep_for(milliseconds(100));
    worker.StopDiscovery();
    EXPECT_EQ(runs->load(), 2);
}

TEST_F(DiscoveryWorkerTest, StopDuringASilentSearchReturnsPromptly) {
    LoopbackDevice silent({});
    CDiscoveryWorker worker(SearchAt(silent.Target()));
    worker.StartDiscovery();
    std::this_thread::sleep_for(milliseconds(500));
    const Clock::time_point start = Clock::now();
    worker.StopDiscovery();
    EXPECT_LT(SecondsSince(start), 1.5);
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(worker.DiscoveredCount(), 0);
    EXPECT_EQ(silent.Request().size(), 204u);
}

// The search looks for a stop while sending and again while listening: one stop ends both.
TEST_F(DiscoveryWorkerTest, AStopSeenOnceIsSeenByEveryLaterCheck) {
    auto laterSightings = std::make_shared<std::atomic<int>>(0);
    CDiscoveryWorker worker([laterSightings](const StopRequested& stop) {
        while (!stop()) {
            std::this_thread::sleep_for(milliseconds(10));
        }
        for (int check = 0; check < 3; ++check) {
            *laterSightings += stop() ? 1 : 0;
        }
        return DiscoveryResults{};
    });
    worker.StartDiscovery();
    std::this_thread::sleep_for(milliseconds(100));
    worker.StopDiscovery();
    EXPECT_EQ(laterSightings->load(), 3);
}

// A worker that ignores the stop is left to finish by itself, never killed, and nothing it
// still uses is released under it.
TEST_F(DiscoveryWorkerTest, AWorkerThatOverrunsTheWaitIsAbandonedSafely) {
    auto started = std::make_shared<std::atomic<bool>>(false);
    auto finished = std::make_shared<std::atomic<bool>>(false);
    Clock::time_point start;
    {
        CDiscoveryWorker worker(
            [started, finished](const StopRequested&) {
                *started = true;
                std::this_thread::sleep_for(milliseconds(1500));
                DiscoveryResults results;
                results.searched = true;
                results.devices.resize(3);  // touches the run's memory after the abandonment
                *finished = true;
                return results;
            },
            200);
        worker.StartDiscovery();
        const TimedStop stop = StopOnceStarted([&worker] { worker.StopDiscovery(); }, *started);
        start = stop.start;
        EXPECT_GT(stop.seconds, 0.15);
        EXPECT_LT(stop.seconds, 1.2);
        EXPECT_FALSE(worker.IsRunning());
        EXPECT_FALSE(worker.FindDiscoveredDevice("", m_targetAddress, m_targetPort));
        EXPECT_FALSE(*finished);
    }
    // The worker object is gone; its thread still runs to its end.
    while (finished.use_count() > 1 && SecondsSince(start) < 5) {
        std::this_thread::sleep_for(milliseconds(10));
    }
    EXPECT_TRUE(*finished);
    EXPECT_EQ(finished.use_count(), 1);  // the thread has released its run
}

}  // namespace
