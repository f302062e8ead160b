#include "discovery/DiscoveryWorker_win32.h"

#include <atomic>
#include <exception>
#include <utility>
#include <vector>

#include "base/FixedText.h"
#include "discovery/DiscoveryList.h"

struct CDiscoveryWorker::Run {
    explicit Run(Runner work) : runner(std::move(work)) {}

    const Runner runner;
    // The window's members of the search, kept with the run so that a worker let go of lives
    // on with them. The list is written by the worker before it clears the flag, and read by
    // the window only after.
    std::atomic<bool> m_bDiscoveryRunning{true};
    std::vector<DiscoveredDevice> m_discoveredDevices;
};

CDiscoveryWorker::CDiscoveryWorker()
    : CDiscoveryWorker([](const StopRequested& stop) {
          return CollectDiscoveryResults(SearchTarget{}, stop);
      }) {}

CDiscoveryWorker::CDiscoveryWorker(Runner runner, DWORD stopWaitMs)
    : m_runner(std::move(runner)), m_worker(stopWaitMs) {}

CDiscoveryWorker::~CDiscoveryWorker() {
    StopDiscovery();
}

void CDiscoveryWorker::StartDiscovery() {
    if (IsRunning()) {
        return;
    }
    auto run = std::make_shared<Run>(m_runner);
    if (!m_worker.Start([run](StoppableWorker::StopSignal& stop) { return Search(*run, stop); })) {
        // No worker will ever finish this run: it has ended, with nothing found.
        run->m_bDiscoveryRunning.store(false, std::memory_order_release);
    }
    m_run = std::move(run);
}

void CDiscoveryWorker::StopDiscovery() {
    m_worker.Stop();
    m_run.reset();
}

bool CDiscoveryWorker::IsRunning() const {
    return m_run && m_run->m_bDiscoveryRunning.load(std::memory_order_acquire);
}

bool CDiscoveryWorker::FindDiscoveredDevice(const char* mac, char (&targetAddress)[128],
                                            std::uint16_t& targetPort) const {
    if (!m_run || IsRunning() || mac == nullptr) {
        return false;
    }
    const DiscoveredDevice* device = FindDeviceByMac(m_run->m_discoveredDevices, mac);
    if (device == nullptr) {
        return false;
    }
    CopyField(targetAddress, FieldText(device->ipAddress));
    targetPort = static_cast<std::uint16_t>(device->port);
    return true;
}

int CDiscoveryWorker::DiscoveredCount() const {
    if (!m_run || IsRunning()) {
        return 0;
    }
    return static_cast<int>(m_run->m_discoveredDevices.size());
}

std::vector<DiscoveredDevice> CDiscoveryWorker::DiscoveredDevices() const {
    if (!m_run || IsRunning()) {
        return {};
    }
    return m_run->m_discoveredDevices;
}

unsigned CDiscoveryWorker::Search(Run& run, StoppableWorker::StopSignal& stop) {
    DiscoveryResults results;
    if (!stop.Requested()) {
        const SocketLibrary sockets;  // this run's own use of Windows Sockets
        try {
            results = run.runner([&stop] { return stop.Requested(); });
        } catch (const std::exception&) {
            // The list could not be allocated: the run found nothing.
            results = DiscoveryResults{};
        }
    }
    const int found = static_cast<int>(results.devices.size());
    if (results.searched) {
        OutputDebugStringA(DiscoveryDebugLine(results.entries, found).c_str());
    }
    run.m_discoveredDevices = std::move(results.devices);
    run.m_bDiscoveryRunning.store(false, std::memory_order_release);
    return static_cast<unsigned>(found);
}
