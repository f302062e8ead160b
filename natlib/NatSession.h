// Everything one NATSocket_Init starts and NATSocket_DeInit ends: the sockets layer, the
// launcher's callbacks, the tunnels by UUID and the stop event that every library thread and
// every connect waiting out its delay watches.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "base/UniqueHandle_win32.h"
#include "natlib/Callbacks.h"
#include "natlib/Directory.h"
#include "natlib/Tunnel.h"
#include "natlib/WinSocket.h"

class NatSession {
public:
    explicit NatSession(const _tagCB* callbacks);
    ~NatSession();
    NatSession(const NatSession&) = delete;
    NatSession& operator=(const NatSession&) = delete;

    // False when the sockets layer or the stop event could not be had.
    bool IsReady() const;

    // Marks a connect in progress for its lifetime: Stop waits until none is left, so the
    // session outlives every connect that began on it.
    class Attempt {
    public:
        explicit Attempt(NatSession& session);
        ~Attempt();
        Attempt(const Attempt&) = delete;
        Attempt& operator=(const Attempt&) = delete;

    private:
        NatSession& m_session;
    };

    // Sleeps for the delay; false when Stop cuts it short.
    bool Wait(std::chrono::milliseconds delay) const;

    // The device's tunnel: opened now, or the one an earlier connect opened, kept with its kind
    // so that viewers already on its port stay connected. Its kind, or nothing when the port
    // cannot be opened or the session is stopping.
    std::optional<NatConnectKind> OpenTunnel(const NatDevice& device, NatConnectKind kind);

    const NatCallbacks& Callbacks() const { return m_callbacks; }

    // The local port of the UUID's tunnel; 0 when it has none.
    std::uint16_t PortOf(std::string_view uuid) const;

    // Ends the pending connects' waits, waits for those connects to leave, then closes every
    // tunnel and waits for its threads. No callback is made once it returns.
    void Stop();

private:
    WinsockScope m_winsock;  // first in, last out: every socket below goes before it
    OwnedWsaEvent m_stop{WSACreateEvent()};  // manual-reset
    const NatCallbacks m_callbacks;
    mutable std::mutex m_mutex;
    std::condition_variable m_attemptsOver;
    int m_attempts = 0;
    bool m_stopping = false;
    std::map<std::string, std::unique_ptr<Tunnel>, std::less<>> m_tunnels;
};
