// The connect worker's thread, hand-over and stop under the real platform, with stand-ins for
// the library's call and a message-only window that receives what the worker posts.
#include "connect/ConnectWorker_win32.h"

#include <winsock2.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>

#include "natlib/WinSocket.h"
#include "support/StopTiming.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using Result = CConnectWorker::Result;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A socket as the library hands one over; the worker must close it exactly when it is no
// longer anybody's.
unsigned int NewSocket() {
    return static_cast<unsigned int>(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
}

bool IsOpen(unsigned int value) {
    int type = 0;
    int size = sizeof type;
    return getsockopt(static_cast<SOCKET>(value), SOL_SOCKET, SO_TYPE,
                      reinterpret_cast<char*>(&type), &size) == 0;
}

Result Connected(std::uint16_t port, NatConnectKind kind) {
    return Result{true, kNatConnected, ConnectionTarget{"127.0.0.1", port}, kind};
}

Result Failed(int code) {
    return Result{false, code, ConnectionTarget{}, 0};
}

// A call that gives the outcome and a fresh socket, once `release` is set.
CConnectWorker::Connector Answer(Result outcome, std::shared_ptr<std::atomic<unsigned int>> given,
                                 std::shared_ptr<std::atomic<bool>> release = nullptr) {
    return [=](NatRequest&, unsigned int& socketOut) {
        while (release && !*release) {
            std::this_thread::sleep_for(milliseconds(5));
        }
        socketOut = NewSocket();
        *given = socketOut;
        return outcome;
    };
}

class ConnectWorkerTest : public ::testing::Test {
protected:
    ConnectWorkerTest()
        : m_window(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                   nullptr)) {}
    ~ConnectWorkerTest() override { DestroyWindow(m_window); }

    std::shared_ptr<NatRequest> Request() {
        return std::make_shared<NatRequest>(MakeNatRequest("KX3W8N1F6TZ0", 80));
    }

    // The next WM_CONNECT_RESULT posted to the window, if one comes in time.
    std::optional<MSG> NextResultMessage(milliseconds limit = milliseconds(5000)) {
        const Clock::time_point deadline = Clock::now() + limit;
        MSG message{};
        while (Clock::now() < deadline) {
            if (PeekMessageW(&message, m_window, WM_CONNECT_RESULT, WM_CONNECT_RESULT, PM_REMOVE)) {
                return message;
            }
            std::this_thread::sleep_for(milliseconds(5));
        }
        return std::nullopt;
    }

    WinsockScope m_sockets;
    HWND m_window;
    std::shared_ptr<std::atomic<unsigned int>> m_given =
        std::make_shared<std::atomic<unsigned int>>(~0u);
};

TEST_F(ConnectWorkerTest, EachOutcomeIsPostedAndHandedOverOnce) {
    struct Case {
        Result outcome;
        LPARAM posted;
    };
    const Case cases[] = {
        {Connected(50123, kNatKindPeerToPeer), kNatConnected},
        {Connected(50124, 49), kNatConnected},
        {Failed(kNatErrorDeviceNotExist), kNatErrorDeviceNotExist},
        {Failed(0), 0},
        // A library may report 1 after a failure: still a failure.
        {Failed(1), 1},
    };
    for (const Case& c : cases) {
        CConnectWorker worker(Answer(c.outcome, m_given));
        ASSERT_TRUE(worker.Start(m_window, Request()));
        const std::optional<MSG> message = NextResultMessage();
        ASSERT_TRUE(message) << c.outcome.code;
        EXPECT_EQ(message->wParam, 0u);
        EXPECT_EQ(message->lParam, c.posted);
        const std::optional<Result> result = worker.TakeResult();
        ASSERT_TRUE(result);
        EXPECT_EQ(result->connected, c.outcome.connected) << c.outcome.code;
        EXPECT_EQ(result->code, c.outcome.code);
        EXPECT_EQ(result->tunnel.address, c.outcome.tunnel.address);
        EXPECT_EQ(result->tunnel.port, c.outcome.tunnel.port);
        EXPECT_EQ(result->connectionKind, c.outcome.connectionKind);
        EXPECT_FALSE(worker.TakeResult());  // a second message for the same attempt: nothing

        // The socket is the window's from the hand-over until the window closes.
        EXPECT_TRUE(IsOpen(*m_given));
        worker.Stop();
        EXPECT_FALSE(IsOpen(*m_given));
    }
}

TEST_F(ConnectWorkerTest, AResultNobodyHandledIsStaleAndItsSocketIsClosed) {
    auto firstSocket = std::make_shared<std::atomic<unsigned int>>(~0u);
    auto release = std::make_shared<std::atomic<bool>>(false);
    int attempts = 0;
    CConnectWorker worker([&](NatRequest& request, unsigned int& socketOut) {
        return ++attempts == 1 ? Answer(Connected(50123, 48), firstSocket)(request, socketOut)
                               : Answer(Connected(50124, 49), m_given, release)(request, socketOut);
    });
    ASSERT_TRUE(worker.Start(m_window, Request()));
    const std::optional<MSG> stale = NextResultMessage();
    ASSERT_TRUE(stale);
    // A new attempt before the first one's message was handled.
    ASSERT_TRUE(worker.Start(m_window, Request()));
    EXPECT_FALSE(IsOpen(*firstSocket));
    EXPECT_FALSE(worker.TakeResult());  // the first attempt's message answers nothing now

    *release = true;
    ASSERT_TRUE(NextResultMessage());
    const std::optional<Result> result = worker.TakeResult();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->tunnel.port, 50124);

    // Finished but never handled: closing the window still closes its socket.
    ASSERT_TRUE(worker.Start(m_window, Request()));
    ASSERT_TRUE(NextResultMessage());
    const unsigned int unhandled = *m_given;
    worker.Stop();
    EXPECT_FALSE(IsOpen(unhandled));
}

// An attempt whose call ignores the stop is left to finish by itself, never killed: nothing
// it still uses is released under it, it posts nothing and closes its socket itself.
TEST_F(ConnectWorkerTest, AnAttemptThatOverrunsTheWaitIsAbandonedSafely) {
    auto started = std::make_shared<std::atomic<bool>>(false);
    auto finished = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<NatRequest> request = Request();
    const std::weak_ptr<NatRequest> watched = request;
    Clock::time_point start;
    {
        CConnectWorker worker(
            [started, finished, given = m_given](NatRequest& buffers, unsigned int& socketOut) {
                *started = true;
                std::this_thread::sleep_for(milliseconds(1500));
                buffers.reserved8[sizeof buffers.reserved8 - 1] = '\0';  // after the abandonment
                socketOut = NewSocket();
                *given = socketOut;
                *finished = true;
                return Connected(50123, 48);
            },
            200);
        ASSERT_TRUE(worker.Start(m_window, std::move(request)));
        const TimedStop stop = StopOnceStarted([&worker] { worker.Stop(); }, *started);
        start = stop.start;
        EXPECT_GT(stop.seconds, 0.15);
        EXPECT_LT(stop.seconds, 1.2);
        EXPECT_FALSE(*finished);
        EXPECT_FALSE(worker.TakeResult());
    }
    while (!watched.expired() && SecondsSince(start) < 5) {
        std::this_thread::sleep_for(milliseconds(10));
    }
    EXPECT_TRUE(*finished);
    EXPECT_TRUE(watched.expired());  // the thread has released the buffers
    EXPECT_FALSE(NextResultMessage(milliseconds(200)));
    EXPECT_FALSE(IsOpen(*m_given));
}

}  // namespace
