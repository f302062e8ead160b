// A listening port on 127.0.0.1 that forwards every connection it accepts to one device, each
// on a Relay of its own. Its accepting thread lives until the session's stop event is set.
#pragma once

#include <winsock2.h>

#include <cstdint>
#include <memory>
#include <thread>

#include "base/UniqueHandle_win32.h"
#include "natlib/Callbacks.h"
#include "natlib/Directory.h"

class Tunnel {
public:
    // Opens the port (the system picks it) and starts accepting; null when the port cannot be
    // opened. callbacks and the stop event must outlive the tunnel.
    static std::unique_ptr<Tunnel> Open(const NatDevice& device, NatConnectKind kind,
                                        const NatCallbacks& callbacks, WSAEVENT stop);
    // Waits for the accepting thread and every relay: set the stop event first.
    ~Tunnel();
    Tunnel(const Tunnel&) = delete;
    Tunnel& operator=(const Tunnel&) = delete;

    std::uint16_t Port() const { return m_port; }
    NatConnectKind Kind() const { return m_kind; }

private:
    Tunnel(const NatDevice& device, NatConnectKind kind, const NatCallbacks& callbacks,
           WSAEVENT stop);
    bool Listen();
    void AcceptLoop();

    const NatDevice m_device;
    const NatConnectKind m_kind;
    const NatCallbacks& m_callbacks;
    const WSAEVENT m_stop;
    OwnedSocket m_listener;
    OwnedWsaEvent m_acceptEvent{WSACreateEvent()};
    std::uint16_t m_port = 0;
    std::thread m_thread;
};
