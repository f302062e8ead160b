// An address book of made-up but realistic devices, the same on every run and in both trees,
// for timing load and save.
#pragma once

#include <cstddef>

#include "addressbook/DeviceTable.h"

// Devices with distinct names: about half reached by address (with a port, account and
// password), the rest through the cloud (UUID, learned LAN address and MAC), as a large site's
// book looks.
DeviceTable MakeSampleBook(std::size_t devices);
