// The device check's worker: one check at a time on a thread of its own, which with the
// threads it starts makes the requests, and posts WM_CHECK_PROGRESS to the window as statuses
// come in. Everything here but the thread body runs on the window's thread; the worker
// touches no window member and no control.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "base/StoppableWorker_win32.h"
#include "connect/DeviceCheckRun.h"

// Posted by the worker without data, once for whatever has come in since the window last took
// it: the progress is read from the worker (TakeProgress), never from the message.
constexpr UINT WM_CHECK_PROGRESS = WM_USER + 1003;

class CDeviceCheckWorker {
public:
    static constexpr DWORD kStopWaitMs = 3000;

    struct Progress {
        std::vector<DeviceCheckResult> results;  // since the last TakeProgress, in their order
        std::size_t done = 0;                    // devices checked so far
        std::size_t total = 0;
        bool finished = false;  // every device checked: the check is over
    };

    CDeviceCheckWorker() : m_worker(kStopWaitMs) {}
    ~CDeviceCheckWorker();  // Stop()
    CDeviceCheckWorker(const CDeviceCheckWorker&) = delete;
    CDeviceCheckWorker& operator=(const CDeviceCheckWorker&) = delete;

    // Stops a check under way (Stop) and starts one of these devices, posting to window.
    // False when its thread could not be started; nothing will be posted then.
    bool Start(HWND window, std::vector<DeviceCheckJob> jobs, LanSearchSnapshot lan);

    // What the check has found since the last call; nothing when none runs (a message that no
    // running check of ours sent). Once it says finished, the check is over.
    std::optional<Progress> TakeProgress();

    bool IsRunning() const { return m_check != nullptr; }

    // Cancels the check: the requests under way give up within about 50 ms, and its thread is
    // waited for at most the stop wait, then let go. Nothing more of that check is read.
    void Stop();

private:
    struct Check;

    std::shared_ptr<Check> m_check;
    StoppableWorker m_worker;
};
