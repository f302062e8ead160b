#include "app/ConnectHandOver.h"

#include <shellapi.h>

#include <vector>

#include "app/ConnectArgument.h"

namespace {

// Marks our hand-over among whatever else WM_COPYDATA may bring: "TCON".
constexpr ULONG_PTR kConnectByName = 0x54434F4E;
// A record's name is at most 31 bytes; longer text names no device, and is not taken.
constexpr DWORD kLongestName = 256;
// The running launcher only queues the name.
constexpr UINT kHandOverTimeoutMs = 5000;

}  // namespace

std::optional<std::wstring> ConnectNameOfThisStart() {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr) {
        return std::nullopt;
    }
    std::vector<std::wstring> arguments;
    for (int i = 1; i < count; ++i) {
        arguments.emplace_back(argv[i]);
    }
    LocalFree(argv);
    return ConnectNameOf(arguments);
}

void HandOverConnect(HWND runningWindow, const std::wstring& deviceName) {
    COPYDATASTRUCT data{};
    data.dwData = kConnectByName;
    const std::size_t bytes = deviceName.size() * sizeof(wchar_t);
    data.cbData = static_cast<DWORD>(bytes);
    data.lpData = const_cast<wchar_t*>(deviceName.data());
    DWORD_PTR taken = FALSE;
    SendMessageTimeoutW(runningWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                        SMTO_ABORTIFHUNG, kHandOverTimeoutMs, &taken);
}

std::optional<std::wstring> HandedOverName(const COPYDATASTRUCT& data) {
    if (data.dwData != kConnectByName || data.lpData == nullptr ||
        data.cbData % sizeof(wchar_t) != 0 || data.cbData > kLongestName * sizeof(wchar_t)) {
        return std::nullopt;
    }
    return std::wstring(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
}
