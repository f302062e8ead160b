// The Windows handles our code owns: each kind names its type, the call that closes it and
// the value its maker returns on failure (null, or all bits set).
#pragma once

#include <winsock2.h>

#include <cstdint>
#include <type_traits>

#include "base/UniqueHandle.h"

template <class T, auto close, std::intptr_t none>
struct WindowsHandleKind {
    using Value = T;
    static Value None() {
        if constexpr (std::is_pointer_v<T>) {
            return reinterpret_cast<T>(none);
        } else {
            return static_cast<T>(none);
        }
    }
    static void Close(Value handle) { close(handle); }
};

// Events, threads, processes and file mappings: null on failure.
using OwnedHandle = UniqueHandle<WindowsHandleKind<HANDLE, CloseHandle, 0>>;
// Files and folders opened with CreateFile: INVALID_HANDLE_VALUE on failure.
using OwnedFile = UniqueHandle<WindowsHandleKind<HANDLE, CloseHandle, -1>>;
// INVALID_SOCKET on failure.
using OwnedSocket = UniqueHandle<WindowsHandleKind<SOCKET, closesocket, -1>>;
// WSACreateEvent's events, for WSAEventSelect: WSA_INVALID_EVENT (null) on failure.
using OwnedWsaEvent = UniqueHandle<WindowsHandleKind<WSAEVENT, WSACloseEvent, 0>>;
