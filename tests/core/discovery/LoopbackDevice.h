// A device on loopback for the search's tests: it waits for the search request, keeps it, and
// sends the scripted datagrams to the answer port. Nothing leaves 127.0.0.1.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "core/discovery/DeviceReplies.h"
#include "discovery/SearchDevices.h"
#include "discovery/UdpSocket.h"

struct ScriptedAnswer {
    Bytes bytes;
    std::chrono::milliseconds pauseBefore{0};
};

// A UDP port that was free a moment ago, for the search's answer socket.
std::uint16_t FreeUdpPort();

class LoopbackDevice {
public:
    // With `turns`, a count of the search's turns (its stop request is asked once per datagram
    // and per idle wait), the device keeps at most a small window of answers ahead of the
    // search, so that a long script never overflows the socket's queue, however slow the
    // reader.
    explicit LoopbackDevice(std::vector<ScriptedAnswer> answers,
                            const std::atomic<int>* turns = nullptr);
    ~LoopbackDevice();
    LoopbackDevice(const LoopbackDevice&) = delete;
    LoopbackDevice& operator=(const LoopbackDevice&) = delete;

    // Where a search must send its request and await the answers.
    SearchTarget Target() const { return m_target; }

    // The request as received (empty if none came); waits for the script to end.
    Bytes Request();

private:
    void Serve(std::vector<ScriptedAnswer> answers);

    UdpSocket m_socket;
    SearchTarget m_target;
    Bytes m_request;
    const std::atomic<int>* m_turns;
    std::atomic<bool> m_quit{false};
    std::thread m_thread;
};
