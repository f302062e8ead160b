// The launcher's binding to KXC_IE_NATT.dll, loaded at run time from the program's folder
// and never unloaded: the library's own threads may outlive NATSocket_DeInit, and unmapping
// its code under them would crash the process as it ends.
#pragma once

#include <windows.h>

#include <shared_mutex>
#include <string>

#include "connect/NatBinding_win32.h"
#include "connect/NatRequest.h"
#include "natapi/NatTraversal.h"

class NatLibrary {
public:
    NatLibrary() = default;
    NatLibrary(const NatLibrary&) = delete;
    NatLibrary& operator=(const NatLibrary&) = delete;

    // Loads the library from the folder (the program's, with its trailing backslash) and binds
    // its five functions. False when the library is missing or cannot be loaded. A missing
    // library or function leaves the binding empty; Init then fails as the library's own
    // refusal would.
    bool Load(const std::wstring& folder);
    // The folder Load looked in.
    std::wstring Folder() const;

    int Init(int reserved, _tagCB* callbacks);
    // The library may write into the request's buffers, which must stay with the caller until
    // the call has returned.
    int HostNameConnect(unsigned int* socketOut, NatRequest& request,
                        NatConnectKind* connectionKind);
    int GetVirtualServerPortForHostName(const char* hostName);
    _NAT_traversal_error_code GetLastError();
    // Once it has begun, no call enters the library again: a worker left inside a connect
    // may come back from it after the library has been shut down, and must find the calls
    // refused (0, as an unbound library answers) rather than ask a closed library.
    int DeInit();

private:
    // False once DeInit has begun.
    bool IsOpen();
    // The call's result, DeInit held off meanwhile; 0 once DeInit has begun.
    template <class Call>
    int WhileOpen(Call call);

    std::wstring m_folder;
    NatBinding m_binding;
    // Held shared by each call, and alone by DeInit to close.
    std::shared_mutex m_open;
    bool m_closed = false;
};
