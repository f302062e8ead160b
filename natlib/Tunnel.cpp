#include "natlib/Tunnel.h"

#include <list>

#include "natlib/Relay.h"

std::unique_ptr<Tunnel> Tunnel::Open(const NatDevice& device, NatConnectKind kind,
                                     const NatCallbacks& callbacks, WSAEVENT stop) {
    std::unique_ptr<Tunnel> tunnel(new Tunnel(device, kind, callbacks, stop));
    if (!tunnel->Listen()) {
        return nullptr;
    }
    tunnel->m_thread = std::thread(&Tunnel::AcceptLoop, tunnel.get());
    return tunnel;
}

Tunnel::Tunnel(const NatDevice& device, NatConnectKind kind, const NatCallbacks& callbacks,
               WSAEVENT stop)
    : m_device(device), m_kind(kind), m_callbacks(callbacks), m_stop(stop) {}

Tunnel::~Tunnel() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

bool Tunnel::Listen() {
    m_listener = OwnedSocket(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!m_listener.IsValid() || !m_acceptEvent.IsValid()) {
        return false;
    }
    // Loopback only: the port is for programs on this machine, never for the network.
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    local.sin_port = 0;
    int size = sizeof local;
    if (bind(m_listener.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        listen(m_listener.Get(), SOMAXCONN) != 0 ||
        getsockname(m_listener.Get(), reinterpret_cast<sockaddr*>(&local), &size) != 0 ||
        WSAEventSelect(m_listener.Get(), m_acceptEvent.Get(), FD_ACCEPT) != 0) {
        return false;
    }
    m_port = ntohs(local.sin_port);
    return true;
}

void Tunnel::AcceptLoop() {
    // Only this thread touches the relays; leaving the loop waits for each of them.
    std::list<std::unique_ptr<Relay>> relays;
    const WSAEVENT events[] = {m_stop, m_acceptEvent.Get()};
    while (WSAWaitForMultipleEvents(2, events, FALSE, WSA_INFINITE, FALSE) ==
           WSA_WAIT_EVENT_0 + 1) {
        WSANETWORKEVENTS happened{};
        WSAEnumNetworkEvents(m_listener.Get(), m_acceptEvent.Get(), &happened);
        // Relays that are over go now, so a long-lived tunnel does not gather dead threads.
        relays.remove_if([](const std::unique_ptr<Relay>& relay) { return relay->Finished(); });
        for (;;) {
            OwnedSocket client(accept(m_listener.Get(), nullptr, nullptr));
            if (!client.IsValid()) {
                break;  // none left; accept re-arms the event for the next one
            }
            try {
                relays.push_back(std::make_unique<Relay>(std::move(client), m_device, m_kind,
                                                         m_callbacks, m_stop));
            } catch (const std::exception&) {
                // No thread for it: the client's socket is closed and the client sees a drop.
            }
        }
    }
}
