#include "natlib/NatSession.h"

NatSession::NatSession(const _tagCB* callbacks) : m_callbacks(callbacks) {}

NatSession::~NatSession() {
    Stop();
}

bool NatSession::IsReady() const {
    return m_winsock.Started() && m_stop.IsValid();
}

NatSession::Attempt::Attempt(NatSession& session) : m_session(session) {
    const std::lock_guard lock(m_session.m_mutex);
    ++m_session.m_attempts;
}

NatSession::Attempt::~Attempt() {
    const std::lock_guard lock(m_session.m_mutex);
    if (--m_session.m_attempts == 0) {
        m_session.m_attemptsOver.notify_all();
    }
}

bool NatSession::Wait(std::chrono::milliseconds delay) const {
    // The directory keeps delays within an int, well short of the platform's INFINITE.
    return WaitForSingleObject(m_stop.Get(), static_cast<DWORD>(delay.count())) == WAIT_TIMEOUT;
}

std::optional<NatConnectKind> NatSession::OpenTunnel(const NatDevice& device, NatConnectKind kind) {
    const std::lock_guard lock(m_mutex);
    if (m_stopping) {
        return std::nullopt;
    }
    if (const auto known = m_tunnels.find(device.uuid); known != m_tunnels.end()) {
        return known->second->Kind();
    }
    std::unique_ptr<Tunnel> tunnel = Tunnel::Open(device, kind, m_callbacks, m_stop.Get());
    if (!tunnel) {
        return std::nullopt;
    }
    m_tunnels.emplace(device.uuid, std::move(tunnel));
    return kind;
}

std::uint16_t NatSession::PortOf(std::string_view uuid) const {
    const std::lock_guard lock(m_mutex);
    const auto known = m_tunnels.find(uuid);
    return known == m_tunnels.end() ? 0 : known->second->Port();
}

void NatSession::Stop() {
    std::map<std::string, std::unique_ptr<Tunnel>, std::less<>> ending;
    {
        std::unique_lock lock(m_mutex);
        m_stopping = true;
        if (m_stop.IsValid()) {
            WSASetEvent(m_stop.Get());
        }
        // A connect past its delay may still be opening a tunnel: once it has left, no tunnel
        // can be added any more.
        m_attemptsOver.wait(lock, [this] { return m_attempts == 0; });
        ending.swap(m_tunnels);
    }
    // Joined outside the lock: a relay's callback must never wait for it.
    ending.clear();
}
