#include "app/LanDeviceRows.h"

#include <string_view>

#include "base/FixedText.h"

LanDeviceRow RowOfDiscoveredDevice(const DiscoveredDevice& device) {
    const std::string_view name = FieldText(device.name);
    return LanDeviceRow{
        std::string(name.empty() ? FieldText(device.title) : name),
        std::string(FieldText(device.ipAddress)),
        device.port > 0 ? std::to_string(device.port) : std::string(),
        std::string(FieldText(device.macAddress)),
    };
}

DeviceFormFields AddFormForLanDevice(const LanDeviceRow& row,
                                     const std::function<bool(unsigned char)>& isLeadByte) {
    std::size_t length = 0;
    while (length < row.name.size()) {
        const std::size_t width = isLeadByte(static_cast<unsigned char>(row.name[length])) ? 2 : 1;
        if (length + width > static_cast<std::size_t>(kNameLimit)) {
            break;
        }
        length += width;
    }
    DeviceFormFields form{};
    CopyField(form.name, std::string_view(row.name).substr(0, length));
    CopyField(form.serverIp, row.ipAddress);
    CopyField(form.serverPort, row.port);
    return form;
}
