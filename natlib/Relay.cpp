#include "natlib/Relay.h"

#include <array>
#include <cstddef>

namespace {

using Clock = std::chrono::steady_clock;

enum class Progress { kWaiting, kDone, kFailed, kStopped };

bool WouldBlock() {
    return WSAGetLastError() == WSAEWOULDBLOCK;
}

bool IsSet(WSAEVENT event) {
    return WSAWaitForMultipleEvents(1, &event, FALSE, 0, FALSE) == WSA_WAIT_EVENT_0;
}

// One way of a forwarded connection over non-blocking sockets. Each pump goes on until a call
// would block, which re-arms the socket event the relay waits on, so no wake-up is missed;
// a stream that never lets a call block is still cut off by the stop event between chunks.
class Direction {
public:
    Direction(SOCKET from, SOCKET to, WSAEVENT stop) : m_from(from), m_to(to), m_stop(stop) {}

    // kDone once the sender has closed and everything it sent has been passed on.
    Progress Pump() {
        for (;;) {
            if (IsSet(m_stop)) {
                return Progress::kStopped;
            }
            if (m_begin < m_end) {
                const int sent =
                    send(m_to, m_buffer.data() + m_begin, static_cast<int>(m_end - m_begin), 0);
                if (sent == SOCKET_ERROR) {
                    return WouldBlock() ? Progress::kWaiting : Progress::kFailed;
                }
                m_begin += static_cast<std::size_t>(sent);
                m_bytes += static_cast<std::uint64_t>(sent);
                continue;
            }
            if (m_closed) {
                return Progress::kDone;
            }
            const int got = recv(m_from, m_buffer.data(), static_cast<int>(m_buffer.size()), 0);
            if (got == SOCKET_ERROR) {
                return WouldBlock() ? Progress::kWaiting : Progress::kFailed;
            }
            if (got == 0) {
                // Pass the half-close on, so a peer that reads to the end sees it.
                m_closed = true;
                shutdown(m_to, SD_SEND);
                return Progress::kDone;
            }
            m_begin = 0;
            m_end = static_cast<std::size_t>(got);
        }
    }

    std::uint64_t Bytes() const { return m_bytes; }

private:
    SOCKET m_from;
    SOCKET m_to;
    WSAEVENT m_stop;
    std::array<char, 16 * 1024> m_buffer{};
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_closed = false;
    std::uint64_t m_bytes = 0;
};

// Waits for the stop event or one of the socket events; false when stopping or failing.
bool WaitForEvents(WSAEVENT stop, WSAEVENT first, WSAEVENT second = WSA_INVALID_EVENT) {
    const WSAEVENT events[] = {stop, first, second};
    const DWORD count = second == WSA_INVALID_EVENT ? 2 : 3;
    const DWORD woke = WSAWaitForMultipleEvents(count, events, FALSE, WSA_INFINITE, FALSE);
    return woke != WSA_WAIT_FAILED && woke != WSA_WAIT_EVENT_0;
}

}  // namespace

Relay::Relay(OwnedSocket client, const NatDevice& device, NatConnectKind kind,
             const NatCallbacks& callbacks, WSAEVENT stop)
    : m_client(std::move(client)),
      m_target(device),
      m_kind(kind),
      m_callbacks(callbacks),
      m_stop(stop),
      m_thread(&Relay::Run, this) {}

Relay::~Relay() {
    m_thread.join();
}

void Relay::Run() {
    const Clock::time_point start = Clock::now();
    m_callbacks.Status();

    ForwardedTraffic traffic;
    const OwnedWsaEvent clientEvent(WSACreateEvent());
    const OwnedWsaEvent deviceEvent(WSACreateEvent());
    m_device = OwnedSocket(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (clientEvent.IsValid() && deviceEvent.IsValid() && m_device.IsValid() &&
        ConnectToDevice(deviceEvent.Get())) {
        Forward(clientEvent.Get(), deviceEvent.Get(), traffic);
    }
    // Close before reporting, so the statistics describe a connection that is really over.
    m_client.Reset();
    m_device.Reset();
    traffic.lasted = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    m_callbacks.Info(m_target.uuid, m_target.endpoint, traffic, m_kind);
    m_callbacks.Status();
    m_finished.store(true, std::memory_order_release);
}

bool Relay::ConnectToDevice(WSAEVENT deviceEvent) {
    // Non-blocking, so that a device that never answers cannot hold up the session's stop.
    if (WSAEventSelect(m_device.Get(), deviceEvent, FD_CONNECT) != 0) {
        return false;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(m_target.address);
    address.sin_port = htons(m_target.port);
    if (connect(m_device.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        return true;
    }
    if (!WouldBlock() || !WaitForEvents(m_stop, deviceEvent)) {
        return false;
    }
    WSANETWORKEVENTS happened{};
    return WSAEnumNetworkEvents(m_device.Get(), deviceEvent, &happened) == 0 &&
           (happened.lNetworkEvents & FD_CONNECT) != 0 && happened.iErrorCode[FD_CONNECT_BIT] == 0;
}

void Relay::Forward(WSAEVENT clientEvent, WSAEVENT deviceEvent, ForwardedTraffic& traffic) {
    // The accepted socket took the listening socket's event selection: give it its own event.
    constexpr long kWatched = FD_READ | FD_WRITE | FD_CLOSE;
    if (WSAEventSelect(m_client.Get(), clientEvent, kWatched) != 0 ||
        WSAEventSelect(m_device.Get(), deviceEvent, kWatched) != 0) {
        return;
    }
    Direction toDevice(m_client.Get(), m_device.Get(), m_stop);
    Direction fromDevice(m_device.Get(), m_client.Get(), m_stop);
    for (;;) {
        const Progress up = toDevice.Pump();
        const Progress down = fromDevice.Pump();
        const auto ends = [](Progress p) {
            return p == Progress::kFailed || p == Progress::kStopped;
        };
        if (ends(up) || ends(down) || (up == Progress::kDone && down == Progress::kDone) ||
            !WaitForEvents(m_stop, clientEvent, deviceEvent)) {
            break;
        }
        // Resets both events; whatever arrives from here on is seen by the next pumps or sets
        // an event again.
        WSANETWORKEVENTS ignored{};
        WSAEnumNetworkEvents(m_client.Get(), clientEvent, &ignored);
        WSAEnumNetworkEvents(m_device.Get(), deviceEvent, &ignored);
    }
    traffic.bytesToDevice = toDevice.Bytes();
    traffic.bytesFromDevice = fromDevice.Bytes();
}
