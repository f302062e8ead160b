#include "discovery/DiscoveryWorker_win32.h"

#include <process.h>

#include <atomic>
#include <exception>
#include <utility>
#include <vector>

#include "base/FixedText.h"
#include "discovery/DiscoveryList.h"

struct CDiscoveryWorker::Run {
    explicit Run(Runner work)
        : runner(std::move(work)), stopEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}
    ~Run() {
        if (stopEvent != nullptr) {
            CloseHandle(stopEvent);
        }
    }
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    // The event resets itself when a check sees it, so the first sighting is remembered for
    // every later check: a stop seen while sending must also end the listening.
    bool StopSignalled() {
        stopSeen = stopSeen || WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0;
        return stopSeen;
    }

    const Runner runner;
    const HANDLE stopEvent;  // auto-reset, unnamed: the window's only signal to the worker
    bool stopSeen = false;   // the worker's own
    std::atomic<bool> running{true};
    // Written by the worker before it clears `running`; read by the window only after.
    std::vector<DiscoveredDevice> devices;
};

CDiscoveryWorker::CDiscoveryWorker()
    : CDiscoveryWorker([](const StopRequested& stop) {
          return CollectDiscoveryResults(SearchTarget{}, stop);
      }) {}

CDiscoveryWorker::CDiscoveryWorker(Runner runner, DWORD stopWaitMs)
    : m_runner(std::move(runner)), m_stopWaitMs(stopWaitMs) {}

CDiscoveryWorker::~CDiscoveryWorker() {
    Stop();
}

void CDiscoveryWorker::Start() {
    if (IsRunning()) {
        return;
    }
    EndWorkerThread();
    m_run = std::make_shared<Run>(m_runner);
    if (m_run->stopEvent == nullptr) {
        m_run.reset();
        return;
    }
    auto argument = std::make_unique<std::shared_ptr<Run>>(m_run);
    const std::uintptr_t thread = _beginthreadex(nullptr, 0, &CDiscoveryWorker::DiscoveryWorker,
                                                 argument.get(), 0, &m_uDiscoveryThreadId);
    if (thread == 0) {
        // No worker will ever finish this run: it has ended, with nothing found.
        m_run->running.store(false, std::memory_order_release);
        return;
    }
    argument.release();  // the thread owns it now
    m_hDiscoveryThread = reinterpret_cast<HANDLE>(thread);
}

void CDiscoveryWorker::Stop() {
    EndWorkerThread();
    m_run.reset();
}

void CDiscoveryWorker::EndWorkerThread() {
    if (m_run) {
        SetEvent(m_run->stopEvent);
    }
    if (m_hDiscoveryThread != nullptr) {
        // Killing a thread can leave the heap's lock or a socket behind. One that overruns
        // the wait is abandoned instead: it holds its own reference to its run.
        WaitForSingleObject(m_hDiscoveryThread, m_stopWaitMs);
        CloseHandle(m_hDiscoveryThread);
        m_hDiscoveryThread = nullptr;
        m_uDiscoveryThreadId = 0;
    }
}

bool CDiscoveryWorker::IsRunning() const {
    return m_run && m_run->running.load(std::memory_order_acquire);
}

bool CDiscoveryWorker::FindDiscoveredDevice(const char* mac, char (&targetAddress)[128],
                                            std::uint16_t& targetPort) const {
    if (!m_run || IsRunning() || mac == nullptr) {
        return false;
    }
    const DiscoveredDevice* device = FindDeviceByMac(m_run->devices, mac);
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
    return static_cast<int>(m_run->devices.size());
}

std::vector<DiscoveredDevice> CDiscoveryWorker::DiscoveredDevices() const {
    if (!m_run || IsRunning()) {
        return {};
    }
    return m_run->devices;
}

unsigned __stdcall CDiscoveryWorker::DiscoveryWorker(void* argument) {
    const std::unique_ptr<std::shared_ptr<Run>> owned(static_cast<std::shared_ptr<Run>*>(argument));
    Run& run = **owned;
    DiscoveryResults results;
    if (!run.StopSignalled()) {
        const SocketLibrary sockets;  // this run's own use of Windows Sockets
        try {
            results = run.runner([&run] { return run.StopSignalled(); });
        } catch (const std::exception&) {
            // The list could not be allocated: the run found nothing.
            results = DiscoveryResults{};
        }
    }
    const int found = static_cast<int>(results.devices.size());
    if (results.searched) {
        OutputDebugStringA(DiscoveryDebugLine(results.entries, found).c_str());
    }
    run.devices = std::move(results.devices);
    run.running.store(false, std::memory_order_release);
    return static_cast<unsigned>(found);
}
