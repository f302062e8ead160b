// KXC_IE_NATT.dll loaded from a folder and its five functions bound by name: the one binder,
// which the launcher's NatLibrary and the platform tests of our library both use. Each function
// is called through CallLibraryFunction (connect/NatCall_win32.h), whatever its convention.
#pragma once

#include <windows.h>

#include <string>

struct NatBinding {
    HMODULE module = nullptr;
    const void* init = nullptr;
    const void* hostNameConnect = nullptr;
    const void* getVirtualServerPort = nullptr;
    const void* getLastError = nullptr;
    const void* deInit = nullptr;

    // All five found.
    bool IsComplete() const;
};

// Loads the library from the folder (with its trailing backslash) by its full path, so that no
// other folder on the search path can slip a different library in, and without the system's
// "cannot find" box. A missing library leaves the binding empty; a missing function, its
// entry.
NatBinding BindNatLibrary(const std::wstring& folder);
