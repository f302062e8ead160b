// One device of the discovery list, built from a search entry. Character fields hold
// zero-terminated text; their widths include the zero.
#pragma once

#include <cstdint>

struct DiscoveredDevice {
    char ipAddress[32];
    char macAddress[32];  // the key for duplicates and for look-up
    char secondAddress[32];
    char thirdAddress[32];
    char fourthAddress[32];
    char reserved1[32];
    char keyword[16];
    char name[128];
    char networkType[16];
    char deviceType[32];
    char title[16];
    char cloud[16];
    char internet[16];
    char cloudLoginName[16];
    char flag[16];
    char wirelessDevice[16];
    std::int32_t status;  // 0-255
    std::int32_t port;    // 0-65535
    char reserved2[8];
};
