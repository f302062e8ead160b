// A start with --connect on a book another launcher already runs: the name goes to that
// launcher's window, which connects, and this process ends as any second start does.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The device name this process was started with, if any (see ConnectNameOf).
std::optional<std::wstring> ConnectNameOfThisStart();

// Hands the name to the running launcher's main window. A window that does not take it within
// a few seconds is hung, and the name is dropped rather than keeping this process waiting.
void HandOverConnect(HWND runningWindow, const std::wstring& deviceName);

// The name a WM_COPYDATA carries when it is a hand-over; nothing for any other data.
std::optional<std::wstring> HandedOverName(const COPYDATASTRUCT& data);
