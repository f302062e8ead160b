// What the "Devices on this LAN" dialog shows of a device the LAN search found, and the Add
// form it offers for one.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "addressbook/DeviceTable.h"
#include "base/AnsiCodePage.h"
#include "discovery/DiscoveredDevice.h"
#include "editing/DeviceForm.h"

// The dialog's four columns, as ANSI text like the datagrams that carried them.
struct LanDeviceRow {
    std::string name;  // the device's name, or its title when it sent no name
    std::string ipAddress;
    std::string port;  // decimal; empty when the device announced none
    std::string macAddress;
};

LanDeviceRow RowOfDiscoveredDevice(const DiscoveredDevice& device);

// The Add form filled with the row's name, address and port; the name is cut to the form's
// limit without splitting a double-byte character of the code page.
DeviceFormFields AddFormForLanDevice(const LanDeviceRow& row,
                                     const AnsiCodePage& codePage = SystemCodePage());

// True when the book has the device already: a record that learned this MAC address when it
// was reached (compared as the double-click's look-up compares), or a static record at this
// address.
bool IsInBook(const LanDeviceRow& row, const DeviceTable& book);

// "Add all new": the devices of the rows that the book does not have and that announced an
// address, in row order.
std::vector<LanDeviceRow> NewDevices(std::span<const LanDeviceRow> rows, const DeviceTable& book);

// The Add form that stands for all of them: the first one's, its name made unique in the book.
DeviceFormFields TemplateFormForNewDevices(std::span<const LanDeviceRow> newDevices,
                                           const DeviceTable& book,
                                           const AnsiCodePage& codePage = SystemCodePage());

// What the template form adds: the first device as the form has it, then every other device
// that the book still does not have (another launcher may have added one meanwhile) with the
// form's user name, password, UUID and priority, under its own name (made unique in the book
// and among the others) and address, and its own port (the form's when it announced none).
std::vector<DeviceRecord> RecordsForNewDevices(const DeviceFormFields& form,
                                               std::span<const LanDeviceRow> newDevices,
                                               const DeviceTable& book,
                                               const AnsiCodePage& codePage = SystemCodePage());
