// Our KXC_IE_NATT.dll as the launcher uses it: loaded at run time from a folder of its own with
// a directory file beside it, the five functions bound by name and called through the
// launcher's thunk, and a device on loopback. Every test runs against both builds of the
// library: the shipped __cdecl one and the __stdcall one with plain names.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/UniqueHandle_win32.h"
#include "connect/NatBinding_win32.h"
#include "connect/NatCall_win32.h"
#include "natapi/NatTraversal.h"
#include "natlib/WinSocket.h"
#include "support/ScratchFolder.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr DWORD kSocketTimeoutMs = 10000;  // only a broken tunnel comes near it

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.erase(folder.find_last_of('\\') + 1);
}

void SetReceiveTimeout(SOCKET socket) {
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&kSocketTimeoutMs),
               sizeof kSocketTimeoutMs);
}

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

OwnedSocket ConnectTo(std::uint16_t port) {
    OwnedSocket client(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    const sockaddr_in address = Loopback(port);
    if (connect(client.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return OwnedSocket();
    }
    SetReceiveTimeout(client.Get());
    return client;
}

bool SendAll(SOCKET socket, std::string_view bytes) {
    while (!bytes.empty()) {
        const int sent = send(socket, bytes.data(), static_cast<int>(bytes.size()), 0);
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

// Everything until the peer closes (or fails, or the timeout passes).
std::string ReceiveAll(SOCKET socket) {
    std::string bytes;
    char chunk[8192];
    int got = 0;
    while ((got = recv(socket, chunk, sizeof chunk, 0)) > 0) {
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    return bytes;
}

// One request through a port: connect, send, close the sending side, read the whole reply
// (after a pause, if given, so that the reply piles up on the way).
std::optional<std::string> Exchange(std::uint16_t port, std::string_view request,
                                    milliseconds pauseBeforeReading = milliseconds(0)) {
    const OwnedSocket client = ConnectTo(port);
    if (!client.IsValid() || !SendAll(client.Get(), request)) {
        return std::nullopt;
    }
    shutdown(client.Get(), SD_SEND);
    std::this_thread::sleep_for(pauseBeforeReading);
    return ReceiveAll(client.Get());
}

// The device: a TCP server on loopback that reads each request to its end and answers
// "echo:" and the request, one thread per connection, after a pause if given (so that the
// request piles up on the way).
class EchoDevice {
public:
    explicit EchoDevice(milliseconds pauseBeforeReading = milliseconds(0))
        : m_listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)), m_pause(pauseBeforeReading) {
        sockaddr_in address = Loopback(0);
        int size = sizeof address;
        bind(m_listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
        listen(m_listener.Get(), SOMAXCONN);
        getsockname(m_listener.Get(), reinterpret_cast<sockaddr*>(&address), &size);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread(&EchoDevice::Serve, this);
    }
    ~EchoDevice() {
        m_stop = true;
        m_thread.join();
        for (std::thread& connection : m_connections) {
            connection.join();
        }
    }
    EchoDevice(const EchoDevice&) = delete;
    EchoDevice& operator=(const EchoDevice&) = delete;

    std::uint16_t Port() const { return m_port; }
    std::string Endpoint() const { return "127.0.0.1:" + std::to_string(m_port); }

private:
    void Serve() {
        while (!m_stop) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(m_listener.Get(), &readable);
            timeval pause{0, 50 * 1000};
            if (select(0, &readable, nullptr, nullptr, &pause) == 1) {
                OwnedSocket connection(accept(m_listener.Get(), nullptr, nullptr));
                m_connections.emplace_back([socket = std::move(connection), pause = m_pause] {
                    std::this_thread::sleep_for(pause);
                    SetReceiveTimeout(socket.Get());
                    SendAll(socket.Get(), "echo:" + ReceiveAll(socket.Get()));
                });
            }
        }
    }

    OwnedSocket m_listener;
    const milliseconds m_pause;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::vector<std::thread> m_connections;  // the serving thread's own until it is joined
    std::thread m_thread;
};

// A device that sends to its one connection without pause until told to stop, as a camera's
// stream does.
class StreamingDevice {
public:
    StreamingDevice() : m_listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {
        sockaddr_in address = Loopback(0);
        int size = sizeof address;
        bind(m_listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
        listen(m_listener.Get(), 1);
        getsockname(m_listener.Get(), reinterpret_cast<sockaddr*>(&address), &size);
        m_endpoint = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
        m_thread = std::thread([this] {
            const OwnedSocket connection(accept(m_listener.Get(), nullptr, nullptr));
            const std::string chunk(64 * 1024, 's');
            while (!m_stop && SendAll(connection.Get(), chunk)) {
            }
        });
    }
    ~StreamingDevice() {
        Stop();
        m_listener.Reset();  // ends an accept that never came
        m_thread.join();
    }
    StreamingDevice(const StreamingDevice&) = delete;
    StreamingDevice& operator=(const StreamingDevice&) = delete;

    std::string Endpoint() const { return m_endpoint; }
    void Stop() { m_stop = true; }

private:
    OwnedSocket m_listener;
    std::string m_endpoint;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

struct InfoCall {
    DWORD thread;
    std::string uuid;
    std::string endpoint;
    std::uint64_t toDevice;
    std::uint64_t fromDevice;
    std::uint8_t kind;
};

// What the library's callbacks did, and whether any came after DeInit had returned.
class CallbackLog {
public:
    static int __cdecl OnInfo(void* context, const char* uuid, const char* endpoint,
                              std::uint64_t toDevice, std::uint64_t fromDevice, std::uint64_t,
                              std::uint8_t kind) {
        CallbackLog& log = *static_cast<CallbackLog*>(context);
        log.CheckNotLate();
        std::this_thread::sleep_for(log.m_infoPause.load());
        const std::lock_guard lock(log.m_mutex);
        log.CheckNotLate();  // DeInit may not return while a callback is still running
        log.m_infos.push_back({GetCurrentThreadId(), uuid, endpoint, toDevice, fromDevice, kind});
        log.m_changed.notify_all();
        return 1;
    }
    static int __cdecl OnStatus(void* context) {
        CallbackLog& log = *static_cast<CallbackLog*>(context);
        const std::lock_guard lock(log.m_mutex);
        log.CheckNotLate();
        log.m_statusThreads.push_back(GetCurrentThreadId());
        log.m_changed.notify_all();
        return 1;
    }

    // The calls so far, once there are at least `count` (fewer if they do not come in 10 s).
    std::vector<InfoCall> WaitForInfos(std::size_t count) { return WaitFor(m_infos, count); }
    std::vector<DWORD> WaitForStatusThreads(std::size_t count) {
        return WaitFor(m_statusThreads, count);
    }

    void MarkDeInitReturned(bool returned) { m_deInitReturned = returned; }
    // Makes each info callback take this long, so one that outlives DeInit shows.
    void SlowInfoCallbacks(milliseconds pause) { m_infoPause = pause; }
    int LateCalls() const { return m_lateCalls; }

private:
    template <class Call>
    std::vector<Call> WaitFor(const std::vector<Call>& calls, std::size_t count) {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, milliseconds(kSocketTimeoutMs),
                           [&] { return calls.size() >= count; });
        return calls;
    }

    void CheckNotLate() {
        if (m_deInitReturned) {
            ++m_lateCalls;
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<InfoCall> m_infos;
    std::vector<DWORD> m_statusThreads;
    std::atomic<milliseconds> m_infoPause{milliseconds(0)};
    std::atomic<bool> m_deInitReturned{false};
    std::atomic<int> m_lateCalls{0};
};

// The two builds, by their place beside the test program.
constexpr const char* kBuilds[] = {"KXC_IE_NATT.dll", "..\\stdcall\\KXC_IE_NATT.dll"};

// A copy of one build of the library in a scratch folder, so each test writes its own
// directory file, bound by the launcher's binder and called through its thunk, whatever the
// build's calling convention. Unlike the launcher's NatLibrary it lets a test call on after
// DeInit and start the library again, as the library itself must allow.
class NatLibraryCopy {
public:
    explicit NatLibraryCopy(const char* build) {
        CopyFileA((ProgramFolder() + build).c_str(), m_folder.File("KXC_IE_NATT.dll").c_str(),
                  FALSE);
        m_binding = BindNatLibrary(std::filesystem::path(m_folder.Folder()).wstring());
    }
    // De-initialised, then unloaded: our library ends its threads in DeInit.
    ~NatLibraryCopy() {
        if (m_binding.deInit != nullptr) {
            DeInit();
        }
        if (m_binding.module != nullptr) {
            FreeLibrary(m_binding.module);
        }
    }
    NatLibraryCopy(const NatLibraryCopy&) = delete;
    NatLibraryCopy& operator=(const NatLibraryCopy&) = delete;

    bool IsBound() const { return m_binding.IsComplete(); }
    void WriteDirectory(std::string_view text) const {
        m_folder.Write("KXC_IE_NATT.directory", text);
    }

    int Init(int reserved, _tagCB* callbacks) const {
        return CallLibraryFunction(m_binding.init, reserved, callbacks);
    }
    int HostNameConnect(unsigned int* socketOut, char* hostName, int port, NatConnectKind* kind,
                        char* user, char* password, char* reserved8, char* reserved10,
                        char* reserved11, char* serverHost) const {
        return CallLibraryFunction(m_binding.hostNameConnect, socketOut, hostName, port, kind, 0u,
                                   user, password, reserved8, 0, reserved10, reserved11, serverHost,
                                   3);
    }
    int GetVirtualServerPort(const char* hostName) const {
        return CallLibraryFunction(m_binding.getVirtualServerPort, hostName);
    }
    _NAT_traversal_error_code GetLastError() const {
        return CallLibraryFunction(m_binding.getLastError);
    }
    int DeInit() const { return CallLibraryFunction(m_binding.deInit); }

private:
    ScratchFolder m_folder;
    NatBinding m_binding;
};

constexpr unsigned int kUntouchedSocket = 0x5EED;
constexpr NatConnectKind kUntouchedKind = -99;

struct ConnectResult {
    int returned;
    unsigned int socket = kUntouchedSocket;
    NatConnectKind kind = kUntouchedKind;
    _NAT_traversal_error_code lastError = 0;
    bool closedSocket = false;  // the caller closed what it received, as the launcher does
};

class NatLibraryTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { ASSERT_TRUE(m_nat.IsBound()); }

    int Init() {
        m_log.MarkDeInitReturned(false);
        return m_nat.Init(0, &m_callbacks);
    }
    void DeInit() {
        m_nat.DeInit();
        m_log.MarkDeInitReturned(true);
    }

    // The launcher's call, with its fixed arguments.
    ConnectResult Connect(const char* uuid) {
        char name[128] = {};
        std::string_view(uuid).copy(name, sizeof name - 1);
        char user[32] = "guest";
        char password[32] = "guest";
        char reserved8[256] = "";
        char reserved10[16] = "";
        char reserved11[128] = "";
        char server[128] = "cloud.example.invalid";
        ConnectResult result{};
        result.returned =
            m_nat.HostNameConnect(&result.socket, name, 80, &result.kind, user, password, reserved8,
                                  reserved10, reserved11, server);
        result.lastError = m_nat.GetLastError();
        if (result.returned == kNatConnected) {
            result.closedSocket = closesocket(static_cast<SOCKET>(result.socket)) == 0;
        }
        return result;
    }

    std::uint16_t PortOf(const char* uuid) {
        return static_cast<std::uint16_t>(m_nat.GetVirtualServerPort(uuid));
    }

    WinsockScope m_sockets;
    CallbackLog m_log;  // outlives the library copy, which de-initialises when it goes
    _tagCB m_callbacks{&m_log, &CallbackLog::OnInfo, &CallbackLog::OnStatus};
    NatLibraryCopy m_nat{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(BothBuilds, NatLibraryTest, ::testing::ValuesIn(kBuilds),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return info.index == 0 ? std::string("cdecl") : std::string("stdcall");
                         });

TEST_P(NatLibraryTest, InitFailsWithTheDirectorysCodeAndConnectNeedsInit) {
    m_nat.WriteDirectory("init-error 7\n");
    EXPECT_EQ(Init(), 0);
    EXPECT_EQ(m_nat.GetLastError(), 7);

    m_nat.WriteDirectory("device cam 127.0.0.1:80 p2p\n");
    const ConnectResult early = Connect("cam");
    EXPECT_EQ(early.returned, 0);
    EXPECT_NE(early.lastError, 0);
    EXPECT_NE(early.lastError, kNatErrorDeviceNotExist);

    EXPECT_EQ(Init(), 1);
    EXPECT_EQ(m_nat.GetLastError(), 0);
}

TEST_P(NatLibraryTest, ConnectEndsAsTheDirectorySays) {
    EchoDevice device;
    m_nat.WriteDirectory("device cam-p2p " + device.Endpoint() + " p2p\n" + "device cam-relay " +
                         device.Endpoint() + " relay\n" +
                         "device cam-captcha 127.0.0.1:9 error 17\n"
                         "device cam-other 127.0.0.1:9 error 42\n"
                         "device cam-zero 127.0.0.1:9 error 0\n");
    ASSERT_EQ(Init(), 1);

    struct Failure {
        const char* uuid;
        _NAT_traversal_error_code code;
    };
    const Failure failures[] = {{"cam-unknown", kNatErrorDeviceNotExist},
                                {"CAM-P2P", kNatErrorDeviceNotExist},
                                {"cam-captcha", kNatErrorCaptcha},
                                {"cam-other", 42},
                                {"cam-zero", 0}};
    for (const Failure& failure : failures) {
        const ConnectResult result = Connect(failure.uuid);
        EXPECT_EQ(result.returned, 0) << failure.uuid;
        EXPECT_EQ(result.lastError, failure.code) << failure.uuid;
        EXPECT_EQ(result.socket, kUntouchedSocket) << failure.uuid;
        EXPECT_EQ(result.kind, kUntouchedKind) << failure.uuid;
        EXPECT_EQ(PortOf(failure.uuid), 0) << failure.uuid;
    }

    const ConnectResult p2p = Connect("cam-p2p");
    const ConnectResult relay = Connect("cam-relay");
    ASSERT_EQ(p2p.returned, 1);
    ASSERT_EQ(relay.returned, 1);
    EXPECT_EQ(p2p.kind, kNatKindPeerToPeer);
    EXPECT_NE(relay.kind, kNatKindPeerToPeer);
    EXPECT_NE(PortOf("cam-p2p"), 0);
    EXPECT_NE(PortOf("cam-relay"), 0);
    EXPECT_NE(PortOf("cam-p2p"), PortOf("cam-relay"));
    // The socket is the caller's: a real one it can close.
    EXPECT_TRUE(p2p.closedSocket);
    EXPECT_TRUE(relay.closedSocket);
    // Connecting again keeps the tunnel that viewers may already be using.
    const std::uint16_t port = PortOf("cam-p2p");
    const ConnectResult again = Connect("cam-p2p");
    EXPECT_EQ(again.returned, 1);
    EXPECT_EQ(PortOf("cam-p2p"), port);
}

TEST_P(NatLibraryTest, TunnelCarriesEachConnectionToTheDeviceAndBack) {
    // The device and the client both pause before reading, and the large transfer is more
    // than all the buffers on the way: the tunnel must hold back in both directions.
    EchoDevice device(milliseconds(700));
    m_nat.WriteDirectory("device cam " + device.Endpoint() + " p2p\n");
    ASSERT_EQ(Init(), 1);
    ASSERT_EQ(Connect("cam").returned, 1);
    const std::uint16_t port = PortOf("cam");

    const std::string request = "GET /cgi-bin/user/Config.cgi HTTP/1.0\r\n\r\n";
    EXPECT_EQ(Exchange(port, request), "echo:" + request);

    std::string large(24 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < large.size(); ++i) {
        large[i] = static_cast<char>(i * 7 + i / 251);
    }
    const std::optional<std::string> echoed = Exchange(port, large, milliseconds(700));
    ASSERT_TRUE(echoed);
    EXPECT_EQ(echoed->size(), large.size() + 5);
    EXPECT_TRUE(*echoed == "echo:" + large);  // not EXPECT_EQ: no 24 MB in a failure message

    // A connection left open does not hold up another one.
    const OwnedSocket waiting = ConnectTo(port);
    ASSERT_TRUE(waiting.IsValid());
    ASSERT_TRUE(SendAll(waiting.Get(), "first "));
    EXPECT_EQ(Exchange(port, "second"), "echo:second");
    ASSERT_TRUE(SendAll(waiting.Get(), "still here"));
    shutdown(waiting.Get(), SD_SEND);
    EXPECT_EQ(ReceiveAll(waiting.Get()), "echo:first still here");
}

TEST_P(NatLibraryTest, CallbacksComeFromTheLibrarysThreadsWithTheTraffic) {
    EchoDevice device;
    m_nat.WriteDirectory("device cam-relay " + device.Endpoint() + " relay\n");
    ASSERT_EQ(Init(), 1);
    const ConnectResult relay = Connect("cam-relay");
    ASSERT_EQ(relay.returned, 1);
    EXPECT_TRUE(m_log.WaitForStatusThreads(0).empty());  // nothing before a connection

    const std::string request(1000, 'r');
    ASSERT_EQ(Exchange(PortOf("cam-relay"), request), "echo:" + request);
    const std::vector<InfoCall> infos = m_log.WaitForInfos(1);
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_NE(infos[0].thread, GetCurrentThreadId());
    EXPECT_EQ(infos[0].uuid, "cam-relay");
    EXPECT_EQ(infos[0].endpoint, device.Endpoint());
    EXPECT_EQ(infos[0].toDevice, request.size());
    EXPECT_EQ(infos[0].fromDevice, request.size() + 5);
    EXPECT_EQ(infos[0].kind, relay.kind);

    // Accepted, then dropped.
    const std::vector<DWORD> statusThreads = m_log.WaitForStatusThreads(2);
    EXPECT_EQ(statusThreads.size(), 2u);
    for (const DWORD thread : statusThreads) {
        EXPECT_NE(thread, GetCurrentThreadId());
    }
}

TEST_P(NatLibraryTest, DeviceThatRefusesIsDroppedAtOnce) {
    std::uint16_t closedPort = 0;
    {
        EchoDevice gone;  // its port is free again once it is gone
        closedPort = gone.Port();
    }
    m_nat.WriteDirectory("device cam 127.0.0.1:" + std::to_string(closedPort) + " p2p\n");
    ASSERT_EQ(Init(), 1);
    ASSERT_EQ(Connect("cam").returned, 1);

    const OwnedSocket client = ConnectTo(PortOf("cam"));
    ASSERT_TRUE(client.IsValid());
    EXPECT_EQ(ReceiveAll(client.Get()), "");  // closed, not left hanging
    const std::vector<InfoCall> infos = m_log.WaitForInfos(1);
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_EQ(infos[0].toDevice, 0u);
    EXPECT_EQ(infos[0].fromDevice, 0u);
}

TEST_P(NatLibraryTest, DelayIsWaitedOutBeforeTheOutcome) {
    m_nat.WriteDirectory(
        "device slow 127.0.0.1:9 p2p delay 400\n"
        "device slow-error 127.0.0.1:9 error 17 delay 400\n");
    ASSERT_EQ(Init(), 1);
    for (const char* uuid : {"slow", "slow-error"}) {
        const Clock::time_point start = Clock::now();
        const ConnectResult result = Connect(uuid);
        const auto waited = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
        // A little slack for the platform's timer ticks.
        EXPECT_GE(waited.count(), 380) << uuid;
        EXPECT_EQ(result.returned, uuid == std::string_view("slow") ? 1 : 0) << uuid;
    }
}

TEST_P(NatLibraryTest, DeInitCutsAWaitingConnectShort) {
    m_nat.WriteDirectory("device stuck 127.0.0.1:9 p2p delay 600000\n");
    ASSERT_EQ(Init(), 1);
    std::future<ConnectResult> pending =
        std::async(std::launch::async, [this] { return Connect("stuck"); });
    std::this_thread::sleep_for(milliseconds(300));  // well into its delay
    ASSERT_EQ(pending.wait_for(milliseconds(0)), std::future_status::timeout);
    const Clock::time_point stopping = Clock::now();
    DeInit();
    ASSERT_EQ(pending.wait_for(milliseconds(kSocketTimeoutMs)), std::future_status::ready);
    // Ten minutes of delay end with DeInit, not when they are over: DeInit waits for the
    // connect to leave the library, but not for its delay.
    EXPECT_LT(Clock::now() - stopping, milliseconds(kSocketTimeoutMs));
    const ConnectResult result = pending.get();
    EXPECT_EQ(result.returned, 0);
    EXPECT_NE(result.lastError, 0);
    EXPECT_NE(result.lastError, kNatErrorDeviceNotExist);
    EXPECT_EQ(PortOf("stuck"), 0);
}

TEST_P(NatLibraryTest, DeInitEndsAStreamThatNeverPauses) {
    StreamingDevice device;
    m_nat.WriteDirectory("device cam " + device.Endpoint() + " relay\n");
    ASSERT_EQ(Init(), 1);
    ASSERT_EQ(Connect("cam").returned, 1);
    const OwnedSocket viewer = ConnectTo(PortOf("cam"));
    ASSERT_TRUE(viewer.IsValid());
    // The viewer reads as fast as it can, so the relay's reads and writes hardly ever wait.
    std::atomic<std::uint64_t> received{0};
    std::thread reading([&] {
        char chunk[64 * 1024];
        int got = 0;
        while ((got = recv(viewer.Get(), chunk, sizeof chunk, 0)) > 0) {
            received += static_cast<std::uint64_t>(got);
        }
    });
    while (received < 8 * 1024 * 1024) {
        std::this_thread::sleep_for(milliseconds(10));
    }
    std::future<void> deInit = std::async(std::launch::async, [this] { DeInit(); });
    const bool ended = deInit.wait_for(milliseconds(kSocketTimeoutMs)) == std::future_status::ready;
    device.Stop();  // lets a relay that missed the stop end after all, so the test can fail
    deInit.wait();
    reading.join();
    EXPECT_TRUE(ended);
}

TEST_P(NatLibraryTest, DeInitClosesEverythingAndInitStartsAfresh) {
    EchoDevice device;
    m_nat.WriteDirectory("device cam " + device.Endpoint() + " p2p\n");
    ASSERT_EQ(Init(), 1);
    ASSERT_EQ(Connect("cam").returned, 1);
    const std::uint16_t oldPort = PortOf("cam");

    const OwnedSocket open = ConnectTo(oldPort);
    ASSERT_TRUE(open.IsValid());
    ASSERT_EQ(m_log.WaitForStatusThreads(1).size(), 1u);  // the tunnel has taken it

    m_log.SlowInfoCallbacks(milliseconds(300));
    DeInit();
    EXPECT_EQ(ReceiveAll(open.Get()), "");  // dropped, not left hanging
    EXPECT_FALSE(ConnectTo(oldPort).IsValid());
    EXPECT_EQ(PortOf("cam"), 0);
    m_nat.DeInit();
    std::this_thread::sleep_for(milliseconds(400));
    EXPECT_EQ(m_log.LateCalls(), 0);
    EXPECT_EQ(m_log.WaitForInfos(1).size(), 1u);
    m_log.SlowInfoCallbacks(milliseconds(0));

    ASSERT_EQ(Init(), 1);
    ASSERT_EQ(Connect("cam").returned, 1);
    EXPECT_EQ(Exchange(PortOf("cam"), "back"), "echo:back");
}

}  // namespace
