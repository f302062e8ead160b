// The Windows handles our code owns, each with the value its maker returns on failure and
// the call that closes it.
#pragma once

#include <winsock2.h>

#include "base/UniqueHandle.h"

// Events, threads, processes and file mappings: their makers return null on failure.
struct KernelObjectKind {
    using Value = HANDLE;
    static Value None() { return nullptr; }
    static void Close(Value handle) { CloseHandle(handle); }
};
using OwnedHandle = UniqueHandle<KernelObjectKind>;

// Files and folders opened with CreateFile, which returns INVALID_HANDLE_VALUE on failure.
struct FileKind {
    using Value = HANDLE;
    static Value None() { return INVALID_HANDLE_VALUE; }
    static void Close(Value handle) { CloseHandle(handle); }
};
using OwnedFile = UniqueHandle<FileKind>;

struct SocketKind {
    using Value = SOCKET;
    static Value None() { return INVALID_SOCKET; }
    static void Close(Value socket) { closesocket(socket); }
};
using OwnedSocket = UniqueHandle<SocketKind>;

// WSACreateEvent's events, for WSAEventSelect and WSAWaitForMultipleEvents.
struct WsaEventKind {
    using Value = WSAEVENT;
    static Value None() { return WSA_INVALID_EVENT; }
    static void Close(Value event) { WSACloseEvent(event); }
};
using OwnedWsaEvent = UniqueHandle<WsaEventKind>;
