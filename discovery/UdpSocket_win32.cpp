#include "discovery/UdpSocket.h"

#include <winsock2.h>

namespace {

SOCKET Native(std::intptr_t handle) {
    return static_cast<SOCKET>(handle);
}

sockaddr_in AddressOf(std::uint32_t address, std::uint16_t port) {
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_addr.s_addr = htonl(address);
    socketAddress.sin_port = htons(port);
    return socketAddress;
}

SocketWait Wait(std::intptr_t handle, bool forWriting, std::chrono::milliseconds timeout) {
    fd_set watched;
    FD_ZERO(&watched);
    FD_SET(Native(handle), &watched);
    timeval limit{static_cast<long>(timeout.count() / 1000),
                  static_cast<long>(timeout.count() % 1000 * 1000)};
    const int ready = forWriting ? select(0, nullptr, &watched, nullptr, &limit)
                                 : select(0, &watched, nullptr, nullptr, &limit);
    if (ready == SOCKET_ERROR) {
        return SocketWait::kFailed;
    }
    return ready > 0 ? SocketWait::kReady : SocketWait::kTimedOut;
}

}  // namespace

SocketLibrary::SocketLibrary() {
    WSADATA data{};
    m_started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

SocketLibrary::~SocketLibrary() {
    if (m_started) {
        WSACleanup();
    }
}

UdpSocket::UdpSocket()
    : m_handle(static_cast<std::intptr_t>(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP))) {}

void UdpSocket::Descriptor::Close(Value handle) {
    closesocket(Native(handle));
}

bool UdpSocket::Bind(std::uint32_t address, std::uint16_t port) {
    const sockaddr_in local = AddressOf(address, port);
    return bind(Native(m_handle.Get()), reinterpret_cast<const sockaddr*>(&local), sizeof local) ==
           0;
}

bool UdpSocket::EnableBroadcast() {
    const BOOL on = TRUE;
    return setsockopt(Native(m_handle.Get()), SOL_SOCKET, SO_BROADCAST,
                      reinterpret_cast<const char*>(&on), sizeof on) == 0;
}

std::uint16_t UdpSocket::LocalPort() const {
    sockaddr_in local{};
    int size = sizeof local;
    if (getsockname(Native(m_handle.Get()), reinterpret_cast<sockaddr*>(&local), &size) != 0) {
        return 0;
    }
    return ntohs(local.sin_port);
}

SocketWait UdpSocket::WaitReadable(std::chrono::milliseconds timeout) {
    return Wait(m_handle.Get(), false, timeout);
}

SocketWait UdpSocket::WaitWritable(std::chrono::milliseconds timeout) {
    return Wait(m_handle.Get(), true, timeout);
}

int UdpSocket::SendTo(std::uint32_t address, std::uint16_t port,
                      std::span<const std::uint8_t> bytes) {
    const sockaddr_in remote = AddressOf(address, port);
    const int sent = sendto(Native(m_handle.Get()), reinterpret_cast<const char*>(bytes.data()),
                            static_cast<int>(bytes.size()), 0,
                            reinterpret_cast<const sockaddr*>(&remote), sizeof remote);
    return sent == SOCKET_ERROR ? -1 : sent;
}

int UdpSocket::Receive(std::span<std::uint8_t> buffer) {
    // A datagram longer than the buffer fails here with WSAEMSGSIZE.
    const int received = recvfrom(Native(m_handle.Get()), reinterpret_cast<char*>(buffer.data()),
                                  static_cast<int>(buffer.size()), 0, nullptr, nullptr);
    return received == SOCKET_ERROR ? -1 : received;
}
