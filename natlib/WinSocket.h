// Ownership of the library's Windows Sockets resources: the library's own start-up of the
// sockets layer, sockets and socket events, each released by its destructor.
#pragma once

#include <winsock2.h>

#include <utility>

// WSAStartup for this object's lifetime; the launcher's own start-up is counted separately.
class WinsockScope {
public:
    WinsockScope() {
        WSADATA data{};
        m_started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~WinsockScope() {
        if (m_started) {
            WSACleanup();
        }
    }
    WinsockScope(const WinsockScope&) = delete;
    WinsockScope& operator=(const WinsockScope&) = delete;

    bool Started() const { return m_started; }

private:
    bool m_started = false;
};

// A socket closed by the destructor unless released.
class OwnedSocket {
public:
    OwnedSocket() = default;
    explicit OwnedSocket(SOCKET socket) : m_socket(socket) {}
    ~OwnedSocket() { Close(); }
    OwnedSocket(OwnedSocket&& other) noexcept : m_socket(other.Release()) {}
    OwnedSocket& operator=(OwnedSocket&& other) noexcept {
        if (this != &other) {
            Close();
            m_socket = other.Release();
        }
        return *this;
    }

    SOCKET Get() const { return m_socket; }
    bool IsValid() const { return m_socket != INVALID_SOCKET; }
    SOCKET Release() { return std::exchange(m_socket, INVALID_SOCKET); }
    void Close() {
        if (IsValid()) {
            closesocket(Release());
        }
    }

private:
    SOCKET m_socket = INVALID_SOCKET;
};

// A manual-reset event, as WSACreateEvent makes it, for WSAEventSelect and for stopping.
class WsaEvent {
public:
    WsaEvent() : m_event(WSACreateEvent()) {}
    ~WsaEvent() {
        if (m_event != WSA_INVALID_EVENT) {
            WSACloseEvent(m_event);
        }
    }
    WsaEvent(const WsaEvent&) = delete;
    WsaEvent& operator=(const WsaEvent&) = delete;

    WSAEVENT Get() const { return m_event; }
    bool IsValid() const { return m_event != WSA_INVALID_EVENT; }

private:
    WSAEVENT m_event;
};
