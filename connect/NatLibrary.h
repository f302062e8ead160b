// The launcher's binding to KXC_IE_NATT.dll, loaded at run time from the program's folder.
#pragma once

#include <windows.h>

#include "connect/NatTraversal.h"

class NatLibrary {
public:
    NatLibrary() = default;
    ~NatLibrary();
    NatLibrary(const NatLibrary&) = delete;
    NatLibrary& operator=(const NatLibrary&) = delete;

    // Loads the library that sits beside the running program and binds its five functions.
    // A missing library or function leaves the binding empty; Init then fails as the
    // library's own refusal would.
    void Load();

    int Init(int reserved, _tagCB* callbacks);
    int HostNameConnect(unsigned int* socketOut, const char* hostName, int devicePort,
                        _NAT_traversal_error_code* connectionKind, const char* serverHost);
    int GetVirtualServerPortForHostName(const char* hostName);
    _NAT_traversal_error_code GetLastError();
    int DeInit();

private:
    bool IsBound() const;

    HMODULE m_module = nullptr;
    NATSocket_Init_Fn m_init = nullptr;
    NATSocket_HostNameConnect_Fn m_hostNameConnect = nullptr;
    NATSocket_GetVirtualServerPortForHostName_Fn m_getVirtualServerPort = nullptr;
    NATSocket_GetLastError_Fn m_getLastError = nullptr;
    NATSocket_DeInit_Fn m_deInit = nullptr;
};
