#include "app/LanDeviceRows.h"

#include <string_view>

#include "addressbook/ProfileDocument.h"
#include "addressbook/UniqueName.h"
#include "base/AnsiText.h"
#include "base/FixedText.h"
#include "discovery/DiscoveryList.h"

namespace {

// The reply's name as a record's: blanks at either end dropped (the book does not tell them
// apart), cut to the form's limit, the address when nothing is left; numbered when the book or
// a device added before it has that name.
std::string NameForNewDevice(const LanDeviceRow& row, const std::vector<std::string>& added,
                             const DeviceTable& book, const AnsiCodePage& codePage) {
    std::string_view name = TrimProfileBlanks(
        CutAtCharacter(TrimProfileBlanks(row.name, codePage), kNameLimit, codePage), codePage);
    if (name.empty()) {
        name = row.ipAddress;
    }
    const auto taken = [&](std::string_view candidate) {
        if (book.ContainsNameIgnoringCase(candidate, std::nullopt, codePage)) {
            return true;
        }
        for (const std::string& other : added) {
            if (IsSameSectionName(candidate, other, codePage)) {
                return true;
            }
        }
        return false;
    };
    return taken(name) ? UniqueDeviceName(name, taken, codePage) : std::string(name);
}

}  // namespace

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

bool IsInBook(const LanDeviceRow& row, const DeviceTable& book) {
    for (std::size_t i = 0; i < book.Count(); ++i) {
        const DeviceRecord& record = book.At(i);
        const std::string_view learnedMac = FieldText(record.uuidMac);
        const std::string_view staticIp = FieldText(record.serverIp);
        if ((!learnedMac.empty() && !row.macAddress.empty() &&
             SameMacIgnoringCase(row.macAddress, learnedMac)) ||
            (!staticIp.empty() && staticIp == row.ipAddress)) {
            return true;
        }
    }
    return false;
}

std::vector<LanDeviceRow> NewDevices(std::span<const LanDeviceRow> rows, const DeviceTable& book) {
    std::vector<LanDeviceRow> devices;
    for (const LanDeviceRow& row : rows) {
        if (!row.ipAddress.empty() && !IsInBook(row, book)) {
            devices.push_back(row);
        }
    }
    return devices;
}

DeviceFormFields TemplateFormForNewDevices(std::span<const LanDeviceRow> newDevices,
                                           const DeviceTable& book, const AnsiCodePage& codePage) {
    if (newDevices.empty()) {
        return DeviceFormFields{};
    }
    DeviceFormFields form = AddFormForLanDevice(newDevices.front(), codePage);
    CopyField(form.name, NameForNewDevice(newDevices.front(), {}, book, codePage));
    return form;
}

std::vector<DeviceRecord> RecordsForNewDevices(const DeviceFormFields& form,
                                               std::span<const LanDeviceRow> newDevices,
                                               const DeviceTable& book,
                                               const AnsiCodePage& codePage) {
    std::vector<DeviceRecord> records;
    if (newDevices.empty()) {
        return records;
    }
    records.push_back(RecordFromForm(form, DeviceRecord{}));
    std::vector<std::string> added{std::string(FieldText(records.front().name))};
    for (const LanDeviceRow& row : newDevices.subspan(1)) {
        if (IsInBook(row, book)) {
            continue;
        }
        DeviceFormFields own = form;
        CopyField(own.name, NameForNewDevice(row, added, book, codePage));
        CopyField(own.serverIp, row.ipAddress);
        if (!row.port.empty()) {
            CopyField(own.serverPort, row.port);
        }
        records.push_back(RecordFromForm(own, DeviceRecord{}));
        added.emplace_back(FieldText(records.back().name));
    }
    return records;
}
