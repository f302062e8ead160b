// The LAN discovery worker: one search on a thread of its own, started once at start-up, and
// the list of devices it found. Everything here but the thread body runs on the window's
// thread; the worker touches no window and no control.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "base/StoppableWorker_win32.h"
#include "discovery/DiscoveryResults.h"

class CDiscoveryWorker {
public:
    // What one run does on the worker thread. The launcher's run searches with the product's
    // address and ports; tests give other runs.
    using Runner = std::function<DiscoveryResults(const StopRequested&)>;

    static constexpr DWORD kStopWaitMs = 5000;

    CDiscoveryWorker();
    explicit CDiscoveryWorker(Runner runner, DWORD stopWaitMs = kStopWaitMs);
    ~CDiscoveryWorker();  // StopDiscovery()
    CDiscoveryWorker(const CDiscoveryWorker&) = delete;
    CDiscoveryWorker& operator=(const CDiscoveryWorker&) = delete;

    // Starts a run unless one is in progress. The list of an earlier run is dropped.
    void StartDiscovery();

    // Signals the stop event, waits at most the stop wait for the worker to end, and releases
    // the list. The search sees the stop within about 50 ms; a worker that still overruns the
    // wait is left to end by itself rather than killed (it keeps alive all it uses), and its
    // results are never read.
    void StopDiscovery();

    // True from Start until the worker has finished its list (acquire: a caller that sees
    // false sees the whole list).
    bool IsRunning() const;

    // Looks the MAC address up in the finished list (without regard to letter case, first
    // match). On a hit writes the device's address and the port it answered with, and returns
    // true; otherwise changes nothing. Always false while a run is in progress.
    bool FindDiscoveredDevice(const char* mac, char (&targetAddress)[128],
                              std::uint16_t& targetPort) const;

    // Records in the finished list; 0 while running, after a failed search or after Stop.
    int DiscoveredCount() const;

    // A copy of the finished list, one record per device in the order they answered; empty
    // whenever DiscoveredCount is 0.
    std::vector<DiscoveredDevice> DiscoveredDevices() const;

private:
    struct Run;

    static unsigned Search(Run& run, StoppableWorker::StopSignal& stop);

    Runner m_runner;
    // The current run: its running flag and list. The worker thread holds a reference of its
    // own, so nothing it uses goes away if it is abandoned.
    std::shared_ptr<Run> m_run;
    StoppableWorker m_worker;
};
