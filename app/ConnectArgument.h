// The command line that starts the launcher on one device: `Tavrin.exe --connect "Front Door"`,
// as a desktop shortcut carries it. The launcher then connects to that device as a double-click
// would, or hands the name to the launcher already running on the book.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// The device name after the first "--connect" among the arguments (the program's own path not
// among them); nothing when there is none or no name follows it. Other arguments are ignored,
// as the launcher has always ignored its arguments.
std::optional<std::wstring> ConnectNameOf(std::span<const std::wstring> arguments);

// The arguments that start the launcher on the device: "--connect" and the name quoted as the
// platform's command-line parser reads it back whole (blanks, quotes and backslashes kept).
std::wstring ConnectArguments(std::wstring_view deviceName);
