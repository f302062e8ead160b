// One answer to the LAN search, as the search fills it. Character fields hold zero-terminated
// text; their widths include the zero. A field that the answer's form does not carry stays
// empty.
#pragma once

#include <cstdint>

struct SearchEntry {
    std::uint8_t status;  // 1 for a text reply; the status byte of a fixed-layout reply
    char keyword[48];     // the reply's leading text
    char ipAddress[32];   // dotted decimal
    std::uint16_t port;
    std::uint16_t optionWord;  // fixed-layout replies only
    char macAddress[32];       // as sent in a text reply; lower-case hex from a fixed layout
    char secondAddress[32];    // the second to fourth addresses: fixed-layout replies only
    char thirdAddress[32];
    char fourthAddress[32];
    char reserved[32];
    char name[128];  // fixed-layout replies only
    // networkType to cloudLoginName, and wirelessDevice: text replies only.
    char networkType[16];
    char deviceType[32];
    char title[16];
    char cloud[16];
    char internet[16];
    char cloudLoginName[16];
    char flag[16];  // "0" or "1"
    char wirelessDevice[16];
};
