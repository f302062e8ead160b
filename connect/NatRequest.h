// The buffers of one NATSocket_HostNameConnect call. The library may write into any of them
// and may use them until the call returns, so they are writable, of the sizes the interface
// states, and owned by the attempt rather than by the call's stack frame.
#pragma once

#include <cstdint>
#include <string_view>

struct NatRequest {
    char hostName[128];  // the device's UUID
    std::uint16_t port;  // the number value of the device's port
    char user[32];
    char password[32];
    char reserved8[256];
    char reserved10[16];
    char reserved11[128];
    char serverHost[128];  // the cloud server
};

// A request for the device: its UUID (cut to 127 bytes) and port, the guest account, the
// empty texts and our cloud server's name.
NatRequest MakeNatRequest(std::string_view uuid, std::uint16_t port);
