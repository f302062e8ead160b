// Running code of ours inside the program under test: e2ehook.dll is loaded
// there on a thread the driver starts, one of its entry points fills a request
// structure in that process's memory, and the library is unloaded again.
#pragma once

#include <windows.h>

#include <cstddef>

// Copies `request` (size bytes) into the process, runs the hook's entry point
// `entryName` on it there and copies the result back. Throws NotFound when the
// process cannot be reached or the hook not loaded.
void callHook(DWORD pid, const char* entryName, void* request, size_t size);
