// The interface of the NAT-traversal library KXC_IE_NATT.dll: five plain C functions with
// undecorated names, __cdecl or __stdcall (the launcher copes with both), and two callbacks,
// which are __cdecl. Shared by the launcher, which binds the functions at run time, and by our
// own implementation of the library.
#pragma once

#include <cstdint>

#include "natapi/NatCodes.h"

extern "C" {

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

}  // extern "C"
