#include "connect/NatBinding_win32.h"

namespace {

constexpr wchar_t kLibraryFileName[] = L"KXC_IE_NATT.dll";

const void* Bound(HMODULE module, const char* name) {
    return reinterpret_cast<const void*>(GetProcAddress(module, name));
}

}  // namespace

bool NatBinding::IsComplete() const {
    return init && hostNameConnect && getVirtualServerPort && getLastError && deInit;
}

NatBinding BindNatLibrary(const std::wstring& folder) {
    NatBinding binding;
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    binding.module = LoadLibraryW((folder + kLibraryFileName).c_str());
    SetErrorMode(oldMode);
    if (binding.module == nullptr) {
        return binding;
    }
    binding.init = Bound(binding.module, "NATSocket_Init");
    binding.hostNameConnect = Bound(binding.module, "NATSocket_HostNameConnect");
    binding.getVirtualServerPort =
        Bound(binding.module, "NATSocket_GetVirtualServerPortForHostName");
    binding.getLastError = Bound(binding.module, "NATSocket_GetLastError");
    binding.deInit = Bound(binding.module, "NATSocket_DeInit");
    return binding;
}
