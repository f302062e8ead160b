// The library's own start-up of the Windows Sockets layer.
#pragma once

#include <winsock2.h>

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
