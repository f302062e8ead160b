#include "tools/devicesim/StalledListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

StalledListener::~StalledListener() {
    for (int socket : {m_filler, m_listener}) {
        if (socket >= 0) {
            close(socket);
        }
    }
}

int StalledListener::Open(const std::string& address, int port, std::string& error) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<std::uint16_t>(port));
    socklen_t size = sizeof local;
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    // Linux takes backlog 0 as room for one waiting connection; the filler takes it, and
    // later connection requests are dropped unanswered, nothing ever being accepted.
    if (m_listener < 0 || inet_pton(AF_INET, address.c_str(), &local.sin_addr) != 1 ||
        bind(m_listener, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        listen(m_listener, 0) != 0 ||
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&local), &size) != 0) {
        error = "cannot open the stalled HTTP port";
        return -1;
    }
    sockaddr_in target = local;
    if (target.sin_addr.s_addr == htonl(INADDR_ANY)) {
        target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    }
    m_filler = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_filler < 0 ||
        connect(m_filler, reinterpret_cast<sockaddr*>(&target), sizeof target) != 0) {
        error = "cannot fill the stalled port's queue";
        return -1;
    }
    return ntohs(local.sin_port);
}
