#include "app/LanDeviceRows.h"

#include <string_view>

#include "base/AnsiText.h"
#include "base/FixedText.h"

LanDeviceRow RowOfDiscoveredDevice(const DiscoveredDevice& device) {
    // A reply's texts reach the Add form and from there the book: what follows a control
    // byte (a line break would start a section of its own) is not taken.
    const std::string_view name = UpToControlByte(FieldText(device.name));
    return LanDeviceRow{
        std::string(name.empty() ? UpToControlByte(FieldText(device.title)) : name),
        std::string(UpToControlByte(FieldText(device.ipAddress))),
        device.port > 0 ? std::to_string(device.port) : std::string(),
        std::string(UpToControlByte(FieldText(device.macAddress))),
    };
}

DeviceFormFields AddFormForLanDevice(const LanDeviceRow& row, const AnsiCodePage& codePage) {
    DeviceFormFields form{};
    CopyField(form.name, CutAtCharacter(row.name, kNameLimit, codePage));
    CopyField(form.serverIp, row.ipAddress);
    CopyField(form.serverPort, row.port);
    return form;
}
