// What can be learned about a window of another process without touching its
// memory: texts, class, owner process, geometry.
#pragma once

#include <windows.h>

#include <string>

#include "json.h"

// Every message we send to the program under test is bounded in time, so a hung
// program fails a test instead of hanging the whole run.
constexpr UINT kSendTimeoutMs = 5000;

std::wstring windowText(HWND hwnd);
std::wstring className(HWND hwnd);
DWORD windowPid(HWND hwnd);
// Full Windows path of the process's executable, empty if it cannot be opened.
std::wstring processImage(DWORD pid);
// Throws NotFound when the handle no longer names a window.
HWND existingWindow(HWND hwnd);

JsonObject describeTopLevel(HWND hwnd);
JsonObject describeControl(HWND hwnd);
