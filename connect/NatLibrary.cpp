#include "connect/NatLibrary.h"

#include <string>

namespace {

constexpr wchar_t kLibraryFileName[] = L"KXC_IE_NATT.dll";

// The full path of the library beside the running program, so that no other folder on the
// search path can slip a different library in.
std::wstring LibraryPath() {
    wchar_t exePath[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, exePath, MAX_PATH);
    std::wstring path(exePath, length);
    path.erase(path.find_last_of(L'\\') + 1);
    return path + kLibraryFileName;
}

template <class Fn>
void Bind(HMODULE module, const char* name, Fn& function) {
    function = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

NatLibrary::~NatLibrary() {
    if (m_module != nullptr) {
        FreeLibrary(m_module);
    }
}

void NatLibrary::Load() {
    // No "cannot find the library" box from the system: a missing library is our failure to
    // report, as "Init NAT failed.".
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    m_module = LoadLibraryW(LibraryPath().c_str());
    SetErrorMode(oldMode);
    if (m_module == nullptr) {
        return;
    }
    Bind(m_module, "NATSocket_Init", m_init);
    Bind(m_module, "NATSocket_HostNameConnect", m_hostNameConnect);
    Bind(m_module, "NATSocket_GetVirtualServerPortForHostName", m_getVirtualServerPort);
    Bind(m_module, "NATSocket_GetLastError", m_getLastError);
    Bind(m_module, "NATSocket_DeInit", m_deInit);
}

bool NatLibrary::IsBound() const {
    return m_init && m_hostNameConnect && m_getVirtualServerPort && m_getLastError && m_deInit;
}

int NatLibrary::Init(int reserved, _tagCB* callbacks) {
    return IsBound() ? m_init(reserved, callbacks) : 0;
}

int NatLibrary::HostNameConnect(unsigned int* socketOut, const char* hostName, int devicePort,
                                _NAT_traversal_error_code* connectionKind, const char* serverHost) {
    if (!IsBound()) {
        return 0;
    }
    // The library's fixed arguments: guest credentials, no captcha, no proxy.
    char user[32] = "guest";
    char password[32] = "guest";
    char reserved8[256] = "";
    char reserved10[16] = "";
    char reserved11[128] = "";
    return m_hostNameConnect(socketOut, hostName, devicePort, connectionKind, 0, user, password,
                             reserved8, 0, reserved10, reserved11, serverHost, 3);
}

int NatLibrary::GetVirtualServerPortForHostName(const char* hostName) {
    return IsBound() ? m_getVirtualServerPort(hostName) : 0;
}

_NAT_traversal_error_code NatLibrary::GetLastError() {
    return IsBound() ? m_getLastError() : 0;
}

int NatLibrary::DeInit() {
    return IsBound() ? m_deInit() : 0;
}
