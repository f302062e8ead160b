// Checking a device without connecting to it: it is asked what a double-click would ask, at
// the addresses a double-click would hand its credentials to, and never through the tunnel.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "addressbook/DeviceRecord.h"
#include "connect/HttpGet.h"
#include "discovery/DiscoveredDevice.h"

enum class DeviceStatus {
    kOk,             // a static device sent its login page for the credentials
    kWrongPassword,  // a static device refused the credentials (HTTP 401)
    kNoAnswer,       // a static device sent no login page: nothing, a time-out, another error
    kOnLan,          // a cloud device confirmed its MAC where a double-click looks for it
    kNotOnLan,       // a cloud device that a double-click would reach only through the tunnel
};

// What a check knows of the LAN search: as the window saw it when the check started.
struct LanSearchSnapshot {
    bool running = false;                   // a double-click would not look at the list then
    std::vector<DiscoveredDevice> devices;  // the finished list
};

// One page for a check, fetched with the record's account and password.
using CheckFetch = std::function<HttpAnswer(const std::string& url, const DeviceRecord& record)>;

// A static device is asked for its login page at serverIp and serverPort. A cloud device is
// looked for as DecideDoubleClick looks for it (its remembered address, then where the search
// saw its MAC, each confirmed by the MAC its login page reports), on a copy: the record is not
// changed and nothing is launched. A record with neither address nor UUID has no answer.
// Blocks on at most two requests.
DeviceStatus CheckDevice(const DeviceRecord& record, const LanSearchSnapshot& lan,
                         const CheckFetch& fetch);
