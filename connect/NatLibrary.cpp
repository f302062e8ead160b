#include "connect/NatLibrary.h"

#include <string>

#include "connect/NatCall_win32.h"

namespace {

constexpr wchar_t kLibraryFileName[] = L"KXC_IE_NATT.dll";

// The running program's folder, with its trailing separator.
std::wstring ProgramFolder() {
    wchar_t exePath[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, exePath, MAX_PATH);
    std::wstring folder(exePath, length);
    return folder.erase(folder.find_last_of(L'\\') + 1);
}

void Bind(HMODULE module, const char* name, const void*& function) {
    function = reinterpret_cast<const void*>(GetProcAddress(module, name));
}

}  // namespace

bool NatLibrary::Load() {
    // The full path, so that no other folder on the search path can slip a different library
    // in. No "cannot find the library" box from the system: a missing library is our failure
    // to report.
    m_folder = ProgramFolder();
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    m_module = LoadLibraryW((m_folder + kLibraryFileName).c_str());
    SetErrorMode(oldMode);
    if (m_module == nullptr) {
        return false;
    }
    Bind(m_module, "NATSocket_Init", m_init);
    Bind(m_module, "NATSocket_HostNameConnect", m_hostNameConnect);
    Bind(m_module, "NATSocket_GetVirtualServerPortForHostName", m_getVirtualServerPort);
    Bind(m_module, "NATSocket_GetLastError", m_getLastError);
    Bind(m_module, "NATSocket_DeInit", m_deInit);
    return true;
}

std::wstring NatLibrary::Folder() const {
    // "C:\" keeps its separator; any other folder reads better without one.
    return m_folder.size() > 3 ? m_folder.substr(0, m_folder.size() - 1) : m_folder;
}

bool NatLibrary::IsBound() const {
    return m_init && m_hostNameConnect && m_getVirtualServerPort && m_getLastError && m_deInit;
}

int NatLibrary::Init(int reserved, _tagCB* callbacks) {
    return IsBound() ? CallLibraryFunction(m_init, reserved, callbacks) : 0;
}

int NatLibrary::HostNameConnect(unsigned int* socketOut, NatRequest& request,
                                NatConnectKind* connectionKind) {
    if (!IsBound()) {
        return 0;
    }
    return CallLibraryFunction(m_hostNameConnect, socketOut, request.hostName,
                               static_cast<int>(request.port), connectionKind, 0u, request.user,
                               request.password, request.reserved8, 0, request.reserved10,
                               request.reserved11, request.serverHost, 3);
}

int NatLibrary::GetVirtualServerPortForHostName(const char* hostName) {
    return IsBound() ? CallLibraryFunction(m_getVirtualServerPort, hostName) : 0;
}

_NAT_traversal_error_code NatLibrary::GetLastError() {
    return IsBound() ? CallLibraryFunction(m_getLastError) : 0;
}

int NatLibrary::DeInit() {
    return IsBound() ? CallLibraryFunction(m_deInit) : 0;
}
