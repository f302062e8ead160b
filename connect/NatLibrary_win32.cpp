#include "connect/NatLibrary_win32.h"

#include <mutex>
#include <string>

#include "connect/NatCall_win32.h"

bool NatLibrary::Load(const std::wstring& folder) {
    m_folder = folder;
    m_binding = BindNatLibrary(folder);
    return m_binding.module != nullptr;
}

std::wstring NatLibrary::Folder() const {
    // "C:\" keeps its separator; any other folder reads better without one.
    return m_folder.size() > 3 ? m_folder.substr(0, m_folder.size() - 1) : m_folder;
}

bool NatLibrary::IsOpen() {
    const std::shared_lock open(m_open);
    return m_binding.IsComplete() && !m_closed;
}

template <class Call>
int NatLibrary::WhileOpen(Call call) {
    const std::shared_lock open(m_open);
    return m_binding.IsComplete() && !m_closed ? call() : 0;
}

int NatLibrary::Init(int reserved, _tagCB* callbacks) {
    return WhileOpen([&] { return CallLibraryFunction(m_binding.init, reserved, callbacks); });
}

int NatLibrary::HostNameConnect(unsigned int* socketOut, NatRequest& request,
                                NatConnectKind* connectionKind) {
    // Not held open while it runs: the connect lasts as long as the library likes, and the
    // library's DeInit is what cuts it short.
    if (!IsOpen()) {
        return 0;
    }
    return CallLibraryFunction(m_binding.hostNameConnect, socketOut, request.hostName,
                               static_cast<int>(request.port), connectionKind, 0u, request.user,
                               request.password, request.reserved8, 0, request.reserved10,
                               request.reserved11, request.serverHost, 3);
}

int NatLibrary::GetVirtualServerPortForHostName(const char* hostName) {
    return WhileOpen([&] { return CallLibraryFunction(m_binding.getVirtualServerPort, hostName); });
}

_NAT_traversal_error_code NatLibrary::GetLastError() {
    return WhileOpen([&] { return CallLibraryFunction(m_binding.getLastError); });
}

int NatLibrary::DeInit() {
    {
        const std::unique_lock close(m_open);
        if (m_closed) {
            return 0;
        }
        m_closed = true;
    }
    return m_binding.IsComplete() ? CallLibraryFunction(m_binding.deInit) : 0;
}
