// What the "Devices on this LAN" dialog shows of a device the LAN search found, and the Add
// form it offers for one.
#pragma once

#include <string>

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
