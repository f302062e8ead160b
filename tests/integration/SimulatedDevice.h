// The device simulator run as a child process on loopback for one test, stopped at the end.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/SearchDevices.h"

class SimulatedDevice {
public:
    // Starts devicesim on 127.0.0.1 with free ports and the options given, and waits until
    // it is ready. Its answers go to a free port of loopback, the search's answer port.
    explicit SimulatedDevice(std::vector<std::string> options);
    ~SimulatedDevice();
    SimulatedDevice(const SimulatedDevice&) = delete;
    SimulatedDevice& operator=(const SimulatedDevice&) = delete;

    bool IsReady() const { return m_httpPort > 0; }
    int HttpPort() const { return m_httpPort; }
    std::string Url(std::string_view page) const;

    // A search aimed at this device.
    SearchTarget Target() const;

    // The next line the simulator prints, or "" when none comes in time.
    std::string NextLine(std::chrono::milliseconds timeout);

private:
    pid_t m_pid = -1;
    int m_output = -1;
    std::string m_pending;
    int m_httpPort = -1;
    int m_searchPort = -1;
    std::uint16_t m_answerPort = 0;
};
