// Choosing a folder in the shell's folder picker of another (32-bit) process.
#pragma once

#include <windows.h>

#include <string>

#include "json.h"

// Selects the folder (a Windows path) as a click in the picker's tree would, and waits until
// the tree's selected item is that folder: {"selected": its name}. Throws NotFound when the
// picker never selects it within the timeout.
JsonObject selectFolder(HWND picker, const std::wstring& path, DWORD timeoutMs);
