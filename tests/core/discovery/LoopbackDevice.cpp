#include "core/discovery/LoopbackDevice.h"

#include <utility>

namespace {

constexpr auto kRequestWait = std::chrono::seconds(10);
constexpr auto kSlice = std::chrono::milliseconds(50);
constexpr int kWindow = 32;

}  // namespace

std::uint16_t FreeUdpPort() {
    UdpSocket probe;
    return probe.Bind(kLoopbackAddress, 0) ? probe.LocalPort() : 0;
}

LoopbackDevice::LoopbackDevice(std::vector<ScriptedAnswer> answers, const std::atomic<int>* turns)
    : m_turns(turns) {
    m_socket.Bind(kLoopbackAddress, 0);
    m_target = SearchTarget{kLoopbackAddress, m_socket.LocalPort(), FreeUdpPort()};
    m_thread = std::thread(&LoopbackDevice::Serve, this, std::move(answers));
}

LoopbackDevice::~LoopbackDevice() {
    m_quit = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

Bytes LoopbackDevice::Request() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
    return m_request;
}

void LoopbackDevice::Serve(std::vector<ScriptedAnswer> answers) {
    const auto deadline = std::chrono::steady_clock::now() + kRequestWait;
    while (!m_quit && std::chrono::steady_clock::now() < deadline) {
        if (m_socket.WaitReadable(kSlice) == SocketWait::kReady) {
            m_request.resize(1024);
            const int length = m_socket.Receive(m_request);
            m_request.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
            break;
        }
    }
    if (m_request.empty()) {
        return;
    }
    int sent = 0;
    for (const ScriptedAnswer& answer : answers) {
        while (m_turns != nullptr && sent - m_turns->load() >= kWindow && !m_quit) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (m_quit) {
            return;
        }
        if (answer.pauseBefore.count() > 0) {
            std::this_thread::sleep_for(answer.pauseBefore);
        }
        m_socket.SendTo(kLoopbackAddress, m_target.answerPort, answer.bytes);
        ++sent;
    }
}
