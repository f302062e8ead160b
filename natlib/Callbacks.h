// The launcher's two callbacks, copied from the record handed to NATSocket_Init so the record
// may change or go away without reaching the library's threads. Called from those threads, and
// from a connect that floods; a missing callback is skipped.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "natapi/NatTraversal.h"

// What one forwarded connection did, reported through the info callback when it ends.
struct ForwardedTraffic {
    std::uint64_t bytesToDevice = 0;
    std::uint64_t bytesFromDevice = 0;
    std::chrono::milliseconds lasted{0};
};

class NatCallbacks {
public:
    explicit NatCallbacks(const _tagCB* record) {
        if (record != nullptr) {
            m_record = *record;
        }
    }

    // A connection through a tunnel was accepted or has dropped.
    void Status() const {
        if (m_record.statusCallback != nullptr) {
            m_record.statusCallback(m_record.context);
        }
    }

    // Texts: the device's UUID and its address; values: bytes to and from the device and the
    // connection's lifetime in milliseconds; the 8-bit value: the tunnel's connection kind.
    void Info(const std::string& uuid, const std::string& endpoint, const ForwardedTraffic& traffic,
              NatConnectKind kind) const {
        if (m_record.infoCallback != nullptr) {
            m_record.infoCallback(m_record.context, uuid.c_str(), endpoint.c_str(),
                                  traffic.bytesToDevice, traffic.bytesFromDevice,
                                  static_cast<std::uint64_t>(traffic.lasted.count()),
                                  static_cast<std::uint8_t>(kind));
        }
    }

private:
    _tagCB m_record{nullptr, nullptr, nullptr};
};
