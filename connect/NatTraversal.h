// The interface of the NAT-traversal library KXC_IE_NATT.dll: five plain C functions with
// undecorated names and two callbacks, all __cdecl. Shared by the launcher, which binds the
// functions at run time, and by our own implementation of the library.
#pragma once

#include <cstdint>

extern "C" {

// Error codes and connection kinds share this type in the library's interface.
typedef int _NAT_traversal_error_code;

constexpr _NAT_traversal_error_code kNatKindPeerToPeer = 48;  // any other kind is a relay
constexpr _NAT_traversal_error_code kNatErrorDeviceNotExist = 15;
constexpr _NAT_traversal_error_code kNatErrorCaptcha = 17;

typedef int(__cdecl* NatInfoCallbackFn)(void* context, const char* first, const char* second,
                                        std::uint64_t value1, std::uint64_t value2,
                                        std::uint64_t value3, std::uint8_t flag);
typedef int(__cdecl* NatStatusCallbackFn)(void* context);

// The callback record handed to NATSocket_Init; it must outlive NATSocket_DeInit.
struct _tagCB {
    void* context;
    NatInfoCallbackFn infoCallback;
    NatStatusCallbackFn statusCallback;
};

typedef int(__cdecl* NATSocket_Init_Fn)(int reserved, _tagCB* callbacks);
typedef int(__cdecl* NATSocket_HostNameConnect_Fn)(
    unsigned int* socketOut, const char* hostName, int devicePort,
    _NAT_traversal_error_code* connectionKind, unsigned int reserved5, const char* user,
    const char* password, const char* reserved8, int reserved9, const char* reserved10,
    const char* reserved11, const char* serverHost, int reserved13);
typedef int(__cdecl* NATSocket_GetVirtualServerPortForHostName_Fn)(const char* hostName);
typedef _NAT_traversal_error_code(__cdecl* NATSocket_GetLastError_Fn)();
typedef int(__cdecl* NATSocket_DeInit_Fn)();

}  // extern "C"
