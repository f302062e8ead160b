// The search over real sockets, against a device on loopback that the test scripts.
#include "discovery/SearchDevices.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "base/FixedText.h"
#include "core/discovery/LoopbackDevice.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class SearchDevicesTest : public ::testing::Test {
protected:
    SocketLibrary m_sockets;
    std::vector<SearchEntry> m_table = std::vector<SearchEntry>(kSearchCapacity);
};

FixedReplyFields DeviceNumber(int number) {
    FixedReplyFields fields;
    fields.mac[4] = static_cast<std::uint8_t>(number >> 8);
    fields.mac[5] = static_cast<std::uint8_t>(number);
    fields.ip[3] = static_cast<std::uint8_t>(number);
    return fields;
}

TEST_F(SearchDevicesTest, CollectsBothFormsInOrderUntilAWrongEcho) {
    FixedReplyFields quiet;
    quiet.status = 0;
    LoopbackDevice device({{FixedReply()},
                           {TextReply("MAC=02:AB:CD:0A:0B:0C&IPAddress=192.168.1.10&Port=80")},
                           {TextReply("MAC=ignored", 0)},
                           {FixedReply(quiet)},
                           {FixedReply(DeviceNumber(2))},
                           {WrongCommandReply()},
                           {FixedReply(DeviceNumber(3))}});
    const SearchReport report = SearchDevices(m_table, device.Target());
    EXPECT_TRUE(report.answered);
    EXPECT_EQ(report.end, SearchEnd::kWrongCommand);
    ASSERT_EQ(report.count, 3);
    EXPECT_EQ(FieldText(m_table[0].macAddress), "02:ab:cd:0a:0b:0c");
    EXPECT_EQ(m_table[0].port, 80);
    EXPECT_EQ(FieldText(m_table[1].macAddress), "02:AB:CD:0A:0B:0C");
    EXPECT_EQ(FieldText(m_table[1].keyword), "KORVEX-v1000");
    EXPECT_EQ(FieldText(m_table[2].ipAddress), "192.168.1.2");
    EXPECT_EQ(m_table[3].status, 0);  // nothing past the count

    const Bytes request = device.Request();
    ASSERT_EQ(request.size(), 204u);
    EXPECT_EQ(std::string(request.begin(), request.begin() + 10), std::string("KX_SEARCH", 10));
    EXPECT_EQ(request[16], 0x01);
}

TEST_F(SearchDevicesTest, AnswersWithoutEntriesStillCount) {
    LoopbackDevice device({{TextReply("MAC=x", 0)}, {WrongCommandReply()}});
    const SearchReport report = SearchDevices(m_table, device.Target());
    EXPECT_TRUE(report.answered);
    EXPECT_EQ(report.count, 0);
}

// The receive area is reused: a short datagram after a long one must not inherit its bytes.
TEST_F(SearchDevicesTest, AShortDatagramDoesNotReadTheLastOnesBytes) {
    const Bytes full = FixedReply();
    LoopbackDevice device(
        {{full}, {Bytes(full.begin(), full.begin() + 76)}, {WrongCommandReply()}});
    const SearchReport report = SearchDevices(m_table, device.Target());
    ASSERT_EQ(report.count, 2);
    EXPECT_EQ(FieldText(m_table[0].name), "Front door");
    EXPECT_EQ(FieldText(m_table[1].name), "");
}

TEST_F(SearchDevicesTest, AFailedReceiveEndsTheSearchKeepingTheEntries) {
    const Bytes tooLong(600, 0x01);
    for (const Bytes& last : {tooLong, Bytes()}) {
        LoopbackDevice device({{FixedReply()}, {last}, {FixedReply(DeviceNumber(2))}});
        const SearchReport report = SearchDevices(m_table, device.Target());
        EXPECT_TRUE(report.answered) << last.size();
        EXPECT_EQ(report.end, SearchEnd::kReceiveFailed) << last.size();
        EXPECT_EQ(report.count, 1) << last.size();
    }
}

TEST_F(SearchDevicesTest, StopsAtThe1024thEntry) {
    std::vector<ScriptedAnswer> answers;
    for (int i = 0; i < 1030; ++i) {
        answers.push_back({FixedReply(DeviceNumber(i))});
    }
    std::atomic<int> turns{0};
    LoopbackDevice device(std::move(answers), &turns);
    const SearchReport report = SearchDevices(m_table, device.Target(), [&turns] {
        ++turns;
        return false;
    });
    EXPECT_EQ(report.end, SearchEnd::kTableFull);
    ASSERT_EQ(report.count, 1024);
    EXPECT_EQ(FieldText(m_table[1023].macAddress), "02:ab:cd:0a:03:ff");

    // A smaller table stops at its own size.
    LoopbackDevice small({{FixedReply()}, {FixedReply()}, {FixedReply()}});
    const SearchReport three = SearchDevices(std::span(m_table).first(2), small.Target());
    EXPECT_EQ(three.end, SearchEnd::kTableFull);
    EXPECT_EQ(three.count, 2);
}

TEST_F(SearchDevicesTest, RefusesWhatItCannotDo) {
    std::vector<SearchEntry> tooLarge(kSearchCapacity + 1);
    EXPECT_EQ(SearchDevices(tooLarge, SearchTarget{kLoopbackAddress, 9, 9}).end,
              SearchEnd::kBadCapacity);

    // The answer port is taken.
    LoopbackDevice device({{FixedReply()}});
    UdpSocket holder;
    ASSERT_TRUE(holder.Bind(kAnyAddress, device.Target().answerPort));
    const SearchReport report = SearchDevices(m_table, device.Target());
    EXPECT_FALSE(report.answered);
    EXPECT_EQ(report.end, SearchEnd::kNoSocket);
}

TEST_F(SearchDevicesTest, SilenceEndsAfterFiveSecondsWithExit2) {
    LoopbackDevice device({});
    testing::internal::CaptureStdout();
    const Clock::time_point start = Clock::now();
    const SearchReport report = SearchDevices(m_table, device.Target());
    const double seconds = SecondsSince(start);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Run exit2\n");
    EXPECT_FALSE(report.answered);
    EXPECT_EQ(report.end, SearchEnd::kSilence);
    EXPECT_GT(seconds, 4.8);
    EXPECT_LT(seconds, 7.0);
    EXPECT_EQ(device.Request().size(), 204u);
}

TEST_F(SearchDevicesTest, AnswersThatKeepComingEndAfterFiveSecondsWithExit1) {
    std::vector<ScriptedAnswer> answers;
    for (int i = 0; i < 40; ++i) {
        answers.push_back({FixedReply(DeviceNumber(i)), milliseconds(200)});
    }
    LoopbackDevice device(std::move(answers));
    testing::internal::CaptureStdout();
    const Clock::time_point start = Clock::now();
    const SearchReport report = SearchDevices(m_table, device.Target());
    const double seconds = SecondsSince(start);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Run exit1\n");
    EXPECT_EQ(report.end, SearchEnd::kTimeUp);
    EXPECT_TRUE(report.answered);
    // Whole seconds of the clock: the fifth second starts between 4 and 5 s after the start.
    EXPECT_GT(seconds, 3.8);
    EXPECT_LT(seconds, 6.5);
    EXPECT_GE(report.count, 15);
    EXPECT_LE(report.count, 30);
}

TEST_F(SearchDevicesTest, AStopRequestEndsTheWaitPromptly) {
    LoopbackDevice device({{FixedReply()}});
    std::atomic<bool> stop{false};
    std::thread stopper([&stop] {
        std::this_thread::sleep_for(milliseconds(500));
        stop = true;
    });
    testing::internal::CaptureStdout();
    const Clock::time_point start = Clock::now();
    const SearchReport report =
        SearchDevices(m_table, device.Target(), [&stop] { return stop.load(); });
    const double seconds = SecondsSince(start);
    stopper.join();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(report.end, SearchEnd::kStopped);
    EXPECT_EQ(report.count, 1);  // the answer before the stop is kept
    EXPECT_GT(seconds, 0.4);
    EXPECT_LT(seconds, 2.0);
}

}  // namespace
