#include "app/WindowConnectEffects.h"

#include <windows.h>

#include "app/WaitCursor.h"
#include "connect/HttpGet.h"
#include "connect/ViewerLauncher_win32.h"

std::optional<std::string> WindowConnectEffects::FetchPage(const std::string& url,
                                                           const DeviceRecord& record) {
    // The request holds the window for up to its time-out: show that it is busy.
    const WaitCursor busy;
    const std::unique_ptr<char[]> reply = HttpGet(url.c_str(), record.account, record.password);
    if (!reply) {
        return std::nullopt;
    }
    return std::string(reply.get());
}

std::optional<ConnectionTarget> WindowConnectEffects::FindDiscoveredDevice(std::string_view mac) {
    const std::string text(mac);
    char address[128] = {};
    std::uint16_t port = 0;
    if (!m_discovery.FindDiscoveredDevice(text.c_str(), address, port)) {
        return std::nullopt;
    }
    return ConnectionTarget{address, port};
}

bool WindowConnectEffects::LaunchViewer(const std::string& commandLine) {
    return ::LaunchViewer(commandLine, m_programFolder);
}

void WindowConnectEffects::Debug(const std::string& line) {
    OutputDebugStringA(line.c_str());
}
