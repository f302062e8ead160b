#include "discovery/UdpSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace {

sockaddr_in AddressOf(std::uint32_t address, std::uint16_t port) {
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_addr.s_addr = htonl(address);
    socketAddress.sin_port = htons(port);
    return socketAddress;
}

SocketWait Wait(std::intptr_t handle, short events, std::chrono::milliseconds timeout) {
    pollfd watched{static_cast<int>(handle), events, 0};
    const int ready = poll(&watched, 1, static_cast<int>(timeout.count()));
    if (ready > 0) {
        return SocketWait::kReady;
    }
    // An interrupted wait is a short one: the callers wait in slices until their deadline.
    return ready == 0 || errno == EINTR ? SocketWait::kTimedOut : SocketWait::kFailed;
}

}  // namespace

SocketLibrary::SocketLibrary() = default;
SocketLibrary::~SocketLibrary() = default;

UdpSocket::UdpSocket() : m_handle(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP)) {}

void UdpSocket::Descriptor::Close(Value handle) {
    close(static_cast<int>(handle));
}

bool UdpSocket::Bind(std::uint32_t address, std::uint16_t port) {
    const sockaddr_in local = AddressOf(address, port);
    return bind(static_cast<int>(m_handle.Get()), reinterpret_cast<const sockaddr*>(&local),
                sizeof local) == 0;
}

bool UdpSocket::EnableBroadcast() {
    const int on = 1;
    return setsockopt(static_cast<int>(m_handle.Get()), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) ==
           0;
}

std::uint16_t UdpSocket::LocalPort() const {
    sockaddr_in local{};
    socklen_t size = sizeof local;
    if (getsockname(static_cast<int>(m_handle.Get()), reinterpret_cast<sockaddr*>(&local), &size) !=
        0) {
        return 0;
    }
    return ntohs(local.sin_port);
}

SocketWait UdpSocket::WaitReadable(std::chrono::milliseconds timeout) {
    return Wait(m_handle.Get(), POLLIN, timeout);
}

SocketWait UdpSocket::WaitWritable(std::chrono::milliseconds timeout) {
    return Wait(m_handle.Get(), POLLOUT, timeout);
}

int UdpSocket::SendTo(std::uint32_t address, std::uint16_t port,
                      std::span<const std::uint8_t> bytes) {
    const sockaddr_in remote = AddressOf(address, port);
    const ssize_t sent = sendto(static_cast<int>(m_handle.Get()), bytes.data(), bytes.size(), 0,
                                reinterpret_cast<const sockaddr*>(&remote), sizeof remote);
    return sent < 0 ? -1 : static_cast<int>(sent);
}

int UdpSocket::Receive(std::span<std::uint8_t> buffer) {
    iovec area{buffer.data(), buffer.size()};
    msghdr message{};
    message.msg_iov = &area;
    message.msg_iovlen = 1;
    const ssize_t received = recvmsg(static_cast<int>(m_handle.Get()), &message, 0);
    // POSIX cuts a long datagram and says so in the flags; treat it as Windows Sockets does.
    if (received < 0 || (message.msg_flags & MSG_TRUNC) != 0) {
        return -1;
    }
    return static_cast<int>(received);
}
