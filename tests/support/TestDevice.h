// A device record from the texts a test names; every other field stays empty.
#pragma once

#include <string_view>

#include "addressbook/DeviceRecord.h"
#include "base/FixedText.h"

struct DeviceTexts {
    std::string_view name = {};
    std::string_view serverIp = {};
    std::string_view serverPort = {};
    std::string_view account = {};
    std::string_view password = {};
    std::string_view uuid = {};
    std::string_view uuidIp = {};
    std::string_view uuidMac = {};
    std::string_view priority = {};
};

inline DeviceRecord MakeDevice(const DeviceTexts& texts) {
    DeviceRecord record{};
    CopyField(record.name, texts.name);
    CopyField(record.serverIp, texts.serverIp);
    CopyField(record.serverPort, texts.serverPort);
    CopyField(record.account, texts.account);
    CopyField(record.password, texts.password);
    CopyField(record.uuid, texts.uuid);
    CopyField(record.uuidIp, texts.uuidIp);
    CopyField(record.uuidMac, texts.uuidMac);
    CopyField(record.priority, texts.priority);
    return record;
}
