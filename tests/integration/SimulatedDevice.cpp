#include "integration/SimulatedDevice.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace {

std::uint16_t FreeUdpPort() {
    UdpSocket probe;
    return probe.Bind(kLoopbackAddress, 0) ? probe.LocalPort() : 0;
}

}  // namespace

SimulatedDevice::SimulatedDevice(std::vector<std::string> options) : m_answerPort(FreeUdpPort()) {
    std::vector<std::string> arguments = {TAVRIN_DEVICESIM,
                                          "--bind",
                                          "127.0.0.1",
                                          "--http-port",
                                          "0",
                                          "--search-port",
                                          "0",
                                          "--answer-port",
                                          std::to_string(m_answerPort)};
    arguments.insert(arguments.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
    const int spawned = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe[1]);
    m_output = pipe[0];
    if (spawned != 0) {
        m_pid = -1;
        return;
    }
    const std::string ready = NextLine(std::chrono::seconds(10));
    std::sscanf(ready.c_str(), "devicesim ready http=%d search=%d", &m_httpPort, &m_searchPort);
}

SimulatedDevice::~SimulatedDevice() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    if (m_output >= 0) {
        close(m_output);
    }
}

std::string SimulatedDevice::Url(std::string_view page) const {
    return "http://127.0.0.1:" + std::to_string(m_httpPort) + std::string(page);
}

SearchTarget SimulatedDevice::Target() const {
    return SearchTarget{kLoopbackAddress, static_cast<std::uint16_t>(m_searchPort), m_answerPort};
}

std::string SimulatedDevice::NextLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (const std::size_t end = m_pending.find('\n'); end != std::string::npos) {
            std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd output{m_output, POLLIN, 0};
        if (m_output < 0 || left.count() <= 0 ||
            poll(&output, 1, static_cast<int>(left.count())) <= 0) {
            return "";
        }
        char chunk[512];
        const ssize_t got = read(m_output, chunk, sizeof chunk);
        if (got <= 0) {
            return "";
        }
        m_pending.append(chunk, static_cast<std::size_t>(got));
    }
}
