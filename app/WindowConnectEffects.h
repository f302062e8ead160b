// The main window's side of a connection: real HTTP requests, the LAN search's list, the
// viewer launch, the address-book save and the debugger channel.
#pragma once

#include <functional>

#include "connect/ConnectDecision.h"
#include "discovery/DiscoveryWorker_win32.h"

class WindowConnectEffects : public ConnectEffects {
public:
    WindowConnectEffects(const CDiscoveryWorker& discovery, const char* programFolder,
                         std::function<void()> save)
        : m_discovery(discovery), m_programFolder(programFolder), m_save(std::move(save)) {}

    std::optional<std::string> FetchPage(const std::string& url,
                                         const DeviceRecord& record) override;
    std::optional<ConnectionTarget> FindDiscoveredDevice(std::string_view mac) override;
    bool LaunchViewer(const std::string& commandLine) override;
    void SaveAddressBook() override { m_save(); }
    void Debug(const std::string& line) override;

private:
    const CDiscoveryWorker& m_discovery;
    const char* m_programFolder;
    std::function<void()> m_save;
};
