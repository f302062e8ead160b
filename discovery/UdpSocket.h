// A thin IPv4 UDP socket: the few calls the LAN search makes, alike on Windows Sockets and
// POSIX (UdpSocket_win32.cpp, UdpSocket_posix.cpp). Addresses are IPv4 in host byte order.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>

#include "base/UniqueHandle.h"

constexpr std::uint32_t kAnyAddress = 0;
constexpr std::uint32_t kLoopbackAddress = 0x7F000001;
constexpr std::uint32_t kLimitedBroadcastAddress = 0xFFFFFFFF;

// The platform's socket library for this object's lifetime: Windows Sockets 2.2 on Windows
// (WSAStartup / WSACleanup, counted per process), nothing elsewhere.
class SocketLibrary {
public:
    SocketLibrary();
    ~SocketLibrary();
    SocketLibrary(const SocketLibrary&) = delete;
    SocketLibrary& operator=(const SocketLibrary&) = delete;

private:
    [[maybe_unused]] bool m_started = false;  // read on Windows only
};

enum class SocketWait { kReady, kTimedOut, kFailed };

// A datagram socket, opened by the constructor and closed by the destructor.
class UdpSocket {
public:
    UdpSocket();

    bool IsOpen() const { return m_handle.IsValid(); }
    bool Bind(std::uint32_t address, std::uint16_t port);
    bool EnableBroadcast();
    // The bound port (the system's choice after binding port 0); 0 when unknown.
    std::uint16_t LocalPort() const;

    SocketWait WaitReadable(std::chrono::milliseconds timeout);
    SocketWait WaitWritable(std::chrono::milliseconds timeout);

    // The number of bytes sent, or -1.
    int SendTo(std::uint32_t address, std::uint16_t port, std::span<const std::uint8_t> bytes);

    // Receives one datagram into the buffer: its length, or -1 when the receive fails. A
    // datagram longer than the buffer is a failure everywhere, as Windows Sockets reports it.
    int Receive(std::span<std::uint8_t> buffer);

private:
    // A SOCKET or a file descriptor, closed by the platform's own call.
    struct Descriptor {
        using Value = std::intptr_t;
        static Value None() { return -1; }
        static void Close(Value handle);
    };

    UniqueHandle<Descriptor> m_handle;
};
