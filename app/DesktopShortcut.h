// "Create desktop shortcut": a shortcut on the user's desktop that starts this program on one
// device (ConnectArguments), named after the device.
#pragma once

#include <string>

// Makes (or replaces) "<device name>.lnk" on the desktop, the characters a file name cannot
// hold replaced by "_"; false when it could not be made.
bool CreateDesktopShortcut(const std::wstring& deviceName);
