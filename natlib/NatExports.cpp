// Our KXC_IE_NATT.dll: the five functions of the NAT-traversal interface. Its behaviour comes
// from the directory file beside it, read afresh by each NATSocket_Init.
#include <windows.h>

#include <atomic>
#include <string>

#include "base/WholeFile.h"
#include "connect/NatTraversal.h"
#include "natlib/Directory.h"

namespace {

// The library's own error codes besides those the interface names.
constexpr _NAT_traversal_error_code kNatErrorNotInitialised = 1;

std::atomic<_NAT_traversal_error_code> g_lastError{0};
std::atomic<bool> g_initialised{false};

// The folder of this library (not of the program that loaded it), with a trailing backslash.
std::string LibraryFolder() {
    HMODULE self = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<const char*>(&LibraryFolder), &self);
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    std::string folder(path, length);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder;
}

NatDirectory ReadDirectory() {
    return ParseNatDirectory(
        ReadWholeFile(LibraryFolder() + kNatDirectoryFileName).value_or(std::string()));
}

}  // namespace

extern "C" {

__declspec(dllexport) int __cdecl NATSocket_Init(int, _tagCB*) {
    const NatDirectory directory = ReadDirectory();
    if (directory.initError) {
        g_lastError = *directory.initError;
        return 0;
    }
    g_lastError = 0;
    g_initialised = true;
    return 1;
}

__declspec(dllexport) int __cdecl NATSocket_HostNameConnect(unsigned int*, const char*, int,
                                                            _NAT_traversal_error_code*,
                                                            unsigned int, const char*, const char*,
                                                            const char*, int, const char*,
                                                            const char*, const char*, int) {
    // No device is reachable through this library yet: every UUID is unknown to it.
    g_lastError = g_initialised ? kNatErrorDeviceNotExist : kNatErrorNotInitialised;
    return 0;
}

__declspec(dllexport) int __cdecl NATSocket_GetVirtualServerPortForHostName(const char*) {
    return 0;
}

__declspec(dllexport) _NAT_traversal_error_code __cdecl NATSocket_GetLastError() {
    return g_lastError;
}

__declspec(dllexport) int __cdecl NATSocket_DeInit() {
    g_initialised = false;
    return 1;
}

}  // extern "C"
