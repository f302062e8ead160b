#include "connect/NatLibrary_win32.h"

#include <mutex>
#include <string>

#include "connect/NatCall_win32.h"

namespace {

constexpr wchar_t kLibraryFileName[] = L"KXC_IE_NATT.dll";

void Bind(HMODULE module, const char* name, const void*& function) {
    function = reinterpret_cast<const void*>(GetProcAddress(module, name));
}

}  // namespace

bool NatLibrary::Load(const std::wstring& folder) {
    // The full path, so that no other folder on the search path can slip a different library
    // in. No "cannot find the library" box from the system: a missing library is our failure
    // to report.
    m_folder = folder;
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

template <class Call>
int NatLibrary::WhileOpen(Call call) {
    const std::shared_lock open(m_open);
    return IsBound() && !m_closed ? call() : 0;
}

int NatLibrary::Init(int reserved, _tagCB* callbacks) {
    return WhileOpen([&] { return CallLibraryFunction(m_init, reserved, callbacks); });
}

int NatLibrary::HostNameConnect(unsigned int* socketOut, NatRequest& request,
                                NatConnectKind* connectionKind) {
    // Not held open while it runs: the connect lasts as long as the library likes, and the
    // library's DeInit is what cuts it short.
    if (WhileOpen([] { return 1; }) == 0) {
        return 0;
    }
    return CallLibraryFunction(m_hostNameConnect, socketOut, request.hostName,
                               static_cast<int>(request.port), connectionKind, 0u, request.user,
                               request.password, request.reserved8, 0, request.reserved10,
                               request.reserved11, request.serverHost, 3);
}

int NatLibrary::GetVirtualServerPortForHostName(const char* hostName) {
    return WhileOpen([&] { return CallLibraryFunction(m_getVirtualServerPort, hostName); });
}

_NAT_traversal_error_code NatLibrary::GetLastError() {
    return WhileOpen([&] { return CallLibraryFunction(m_getLastError); });
}

int NatLibrary::DeInit() {
    {
        const std::unique_lock close(m_open);
        if (m_closed) {
            return 0;
        }
        m_closed = true;
    }
    return IsBound() ? CallLibraryFunction(m_deInit) : 0;
}
