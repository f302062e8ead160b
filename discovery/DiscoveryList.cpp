#include "discovery/DiscoveryList.h"

#include "base/AnsiText.h"
#include "base/FixedText.h"

namespace {

// The look-up compares as _strnicmp(mac, record, 18) would: a MAC text and its end.
constexpr std::size_t kMacCompareLength = 18;

char CharAt(std::string_view text, std::size_t index) {
    return index < text.size() ? text[index] : '\0';
}

}  // namespace

bool SameMacIgnoringCase(std::string_view given, std::string_view listed) {
    for (std::size_t i = 0; i < kMacCompareLength; ++i) {
        const char a = CharAt(given, i);
        if (AsciiLower(a) != AsciiLower(CharAt(listed, i))) {
            return false;
        }
        if (a == '\0') {
            return true;
        }
    }
    return true;
}

DiscoveredDevice MakeDiscoveredDevice(const SearchEntry& entry) {
    DiscoveredDevice device{};
    CopyField(device.ipAddress, FieldText(entry.ipAddress));
    CopyField(device.macAddress, FieldText(entry.macAddress));
    CopyField(device.secondAddress, FieldText(entry.secondAddress));
    CopyField(device.thirdAddress, FieldText(entry.thirdAddress));
    CopyField(device.fourthAddress, FieldText(entry.fourthAddress));
    CopyField(device.keyword, FieldText(entry.keyword));
    CopyField(device.name, FieldText(entry.name));
    CopyField(device.networkType, FieldText(entry.networkType));
    CopyField(device.deviceType, FieldText(entry.deviceType));
    CopyField(device.title, FieldText(entry.title));
    CopyField(device.cloud, FieldText(entry.cloud));
    CopyField(device.internet, FieldText(entry.internet));
    CopyField(device.cloudLoginName, FieldText(entry.cloudLoginName));
    CopyField(device.flag, FieldText(entry.flag));
    CopyField(device.wirelessDevice, FieldText(entry.wirelessDevice));
    device.status = entry.status;
    device.port = entry.port;
    return device;
}

std::vector<DiscoveredDevice> RemoveDuplicateMacs(std::span<const SearchEntry> entries) {
    std::vector<DiscoveredDevice> devices;
    devices.reserve(entries.size());
    // Each entry against every record so far: at most 1024 entries, so the quadratic cost
    // stays small.
    for (const SearchEntry& entry : entries) {
        const std::string_view mac = FieldText(entry.macAddress);
        bool seen = false;
        for (const DiscoveredDevice& device : devices) {
            if (FieldText(device.macAddress) == mac) {
                seen = true;
                break;
            }
        }
        if (!seen) {
            devices.push_back(MakeDiscoveredDevice(entry));
        }
    }
    return devices;
}

const DiscoveredDevice* FindDeviceByMac(std::span<const DiscoveredDevice> devices,
                                        std::string_view mac) {
    for (const DiscoveredDevice& device : devices) {
        if (SameMacIgnoringCase(mac, FieldText(device.macAddress))) {
            return &device;
        }
    }
    return nullptr;
}

std::string DiscoveryDebugLine(int entries, int devices) {
    return "??? Device All=" + std::to_string(entries) +
           ", Real Device=" + std::to_string(devices) + ".\n";
}
