#include "tools/devicesim/SearchResponder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

constexpr std::size_t kRequestSize = 204;
constexpr std::size_t kFixedAnswerSize = 204;

bool IsSearchRequest(const std::uint8_t* bytes, std::size_t size) {
    if (size != kRequestSize || std::memcmp(bytes, "KX_SEARCH", 10) != 0 || bytes[16] != 0x01) {
        return false;
    }
    for (std::size_t i = 10; i < size; ++i) {
        if (i != 16 && bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

bool ParseMac(const std::string& text, std::array<std::uint8_t, 6>& mac) {
    unsigned parts[6];
    char end = 0;
    if (std::sscanf(text.c_str(), "%2x:%2x:%2x:%2x:%2x:%2x%c", &parts[0], &parts[1], &parts[2],
                    &parts[3], &parts[4], &parts[5], &end) != 6) {
        return false;
    }
    std::copy(parts, parts + 6, mac.begin());
    return true;
}

std::string MacText(const std::array<std::uint8_t, 6>& mac, bool upperCase) {
    char text[18];
    std::snprintf(text, sizeof text,
                  upperCase ? "%02X:%02X:%02X:%02X:%02X:%02X" : "%02x:%02x:%02x:%02x:%02x:%02x",
                  mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
    return text;
}

void PutText(std::vector<std::uint8_t>& bytes, std::size_t offset, const std::string& text,
             std::size_t width) {
    const std::size_t length = std::min(text.size(), width - 1);
    std::memcpy(bytes.data() + offset, text.data(), length);
}

}  // namespace

SearchResponder::SearchResponder(const SimOptions& options, int httpPort)
    : m_options(options), m_announcedPort(options.port >= 0 ? options.port : httpPort) {}

SearchResponder::~SearchResponder() {
    if (m_socket >= 0) {
        close(m_socket);
    }
}

bool SearchResponder::Open(std::string& error) {
    if (!ParseMac(m_options.mac, m_mac)) {
        error = "--mac must be six hex bytes like 02:ab:cd:0a:0b:0c";
        return false;
    }
    m_upperCaseMac = std::any_of(m_options.mac.begin(), m_options.mac.end(),
                                 [](char c) { return c >= 'A' && c <= 'F'; });
    if (inet_pton(AF_INET, m_options.ip.c_str(), m_ip.data()) != 1) {
        error = "--ip must be a dotted IPv4 address";
        return false;
    }
    m_socket = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<std::uint16_t>(m_options.searchPort));
    const int on = 1;
    // Several simulated devices in one namespace each hear the search, as devices on one LAN
    // do: every socket that shares the port gets its own copy of a broadcast.
    if (m_socket < 0 || inet_pton(AF_INET, m_options.bind.c_str(), &local.sin_addr) != 1 ||
        setsockopt(m_socket, IPPROTO_IP, IP_PKTINFO, &on, sizeof on) != 0 ||
        setsockopt(m_socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        bind(m_socket, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        error = "cannot bind the search port";
        return false;
    }
    return true;
}

int SearchResponder::Port() const {
    sockaddr_in local{};
    socklen_t size = sizeof local;
    getsockname(m_socket, reinterpret_cast<sockaddr*>(&local), &size);
    return ntohs(local.sin_port);
}

void SearchResponder::Serve() {
    for (;;) {
        std::uint8_t request[2048];
        sockaddr_in requester{};
        iovec area{request, sizeof request};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
        msghdr message{};
        message.msg_name = &requester;
        message.msg_namelen = sizeof requester;
        message.msg_iov = &area;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t received = recvmsg(m_socket, &message, 0);
        if (received < 0) {
            continue;
        }
        // The address the request was sent to: the broadcast address on a real LAN.
        in_addr destination{};
        for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr;
             header = CMSG_NXTHDR(&message, header)) {
            if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO) {
                in_pktinfo info;
                std::memcpy(&info, CMSG_DATA(header), sizeof info);
                destination = info.ipi_addr;
            }
        }
        char from[INET_ADDRSTRLEN] = "?";
        char to[INET_ADDRSTRLEN] = "?";
        inet_ntop(AF_INET, &requester.sin_addr, from, sizeof from);
        inet_ntop(AF_INET, &destination, to, sizeof to);
        if (!IsSearchRequest(request, static_cast<std::size_t>(received))) {
            std::fprintf(stderr, "devicesim: malformed search request (%zd bytes) from %s\n",
                         received, from);
            continue;
        }
        std::printf("search request from %s:%d to %s:%d\n", from, ntohs(requester.sin_port), to,
                    Port());
        std::fflush(stdout);
        if (!m_options.noAnswer) {
            Answer(requester.sin_addr.s_addr);
        }
    }
}

void SearchResponder::Answer(std::uint32_t requester) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = requester;
    to.sin_port = htons(static_cast<std::uint16_t>(m_options.answerPort));
    std::vector<Datagram> answers;
    for (int i = 0; i < m_options.flood; ++i) {
        MacBytes mac = m_mac;
        const unsigned low = (mac[4] << 8 | mac[5]) + static_cast<unsigned>(i);
        mac[4] = static_cast<std::uint8_t>(low >> 8);
        mac[5] = static_cast<std::uint8_t>(low);
        if (m_options.form != ReplyForm::kText) {
            answers.push_back(FixedAnswer(mac));
        }
        if (m_options.form != ReplyForm::kFixed) {
            answers.push_back(TextAnswer(mac));
        }
    }
    if (m_options.wrongEcho) {
        Datagram wrong = FixedAnswer(m_mac);
        wrong[16] = 0x02;
        answers.push_back(wrong);
    }
    for (std::size_t i = 0; i < answers.size(); ++i) {
        if (i > 0 && m_options.intervalMs > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(m_options.intervalMs));
        } else if (i % 32 == 31) {
            // A flood, but one that a socket's default queue can take.
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        sendto(m_socket, answers[i].data(), answers[i].size(), 0,
               reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }
}

SearchResponder::Datagram SearchResponder::FixedAnswer(const MacBytes& mac) const {
    Datagram bytes(kFixedAnswerSize, 0);
    PutText(bytes, 0, m_options.keyword, 16);
    bytes[16] = 0x01;  // command echo
    bytes[17] = 0x01;  // status
    std::copy(mac.begin(), mac.end(), bytes.begin() + 18);
    std::copy(m_ip.begin(), m_ip.end(), bytes.begin() + 56);
    const std::uint8_t mask[4] = {255, 255, 255, 0};
    std::copy(mask, mask + 4, bytes.begin() + 60);
    bytes[72] = static_cast<std::uint8_t>(m_announcedPort);  // least significant byte first
    bytes[73] = static_cast<std::uint8_t>(m_announcedPort >> 8);
    bytes[74] = static_cast<std::uint8_t>(m_options.option);
    bytes[75] = static_cast<std::uint8_t>(m_options.option >> 8);
    PutText(bytes, 76, m_options.name, 128);
    return bytes;
}

SearchResponder::Datagram SearchResponder::TextAnswer(const MacBytes& mac) const {
    const std::string text = "MAC=" + (m_options.noMac ? "" : MacText(mac, m_upperCaseMac)) +
                             "&IPAddress=" + m_options.ip +
                             "&Port=" + std::to_string(m_announcedPort) +
                             "&Wireless-Device=0&NetworkType=DHCP&DEVICE_TYPE=NVR"
                             "&CloudLoginName=&Title=" +
                             m_options.name + "&Cloud=0&Internet=1";
    Datagram bytes(32 + text.size() + 1, 0);
    PutText(bytes, 0, "KORVEX-v1000", 13);
    bytes[16] = 0x01;  // command echo
    bytes[25] = 0x01;  // data present
    std::memcpy(bytes.data() + 32, text.data(), text.size());
    return bytes;
}
