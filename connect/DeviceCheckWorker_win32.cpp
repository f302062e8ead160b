#include "connect/DeviceCheckWorker_win32.h"

#include <mutex>
#include <utility>

namespace {

constexpr DWORD kPostRetryMs = 50;

}  // namespace

struct CDeviceCheckWorker::Check {
    Check(HWND target, std::vector<DeviceCheckJob> jobs, LanSearchSnapshot lan)
        : window(target), run(std::move(jobs), std::move(lan)) {}

    // Any of the check's threads: keeps the status and asks the window to take it, unless a
    // message is on its way already.
    void Add(const DeviceCheckResult& result, std::size_t done) {
        const std::lock_guard<std::mutex> lock(mutex);
        progress.results.push_back(result);
        progress.done = done;
        if (!posted) {
            // A full queue refuses the post: the next status, or the end, asks again.
            posted = PostMessageW(window, WM_CHECK_PROGRESS, 0, 0) != FALSE;
        }
    }

    // The check's own thread, after the run: the window must hear of the end, or it would
    // show the check as running for good. Asked again until it is heard or we are stopped.
    void Finish(StoppableWorker::StopSignal& stop) {
        {
            const std::lock_guard<std::mutex> lock(mutex);
            progress.finished = !run.Cancelled();
            if (posted) {
                return;
            }
            posted = true;
        }
        while (!PostMessageW(window, WM_CHECK_PROGRESS, 0, 0) && IsWindow(window) &&
               !stop.Requested()) {
            Sleep(kPostRetryMs);
        }
    }

    const HWND window;
    DeviceCheckRun run;
    std::mutex mutex;
    Progress progress;    // under mutex
    bool posted = false;  // under mutex: a WM_CHECK_PROGRESS is on its way
};

CDeviceCheckWorker::~CDeviceCheckWorker() {
    Stop();
}

bool CDeviceCheckWorker::Start(HWND window, std::vector<DeviceCheckJob> jobs,
                               LanSearchSnapshot lan) {
    Stop();
    auto check = std::make_shared<Check>(window, std::move(jobs), std::move(lan));
    check->progress.total = check->run.Total();
    // The thread keeps the check, and all its requests use, alive should it be let go.
    if (!m_worker.Start([check](StoppableWorker::StopSignal& stop) {
            check->run.Run([&check](const DeviceCheckResult& result, std::size_t done) {
                check->Add(result, done);
            });
            check->Finish(stop);
            return 0u;
        })) {
        return false;
    }
    m_check = std::move(check);
    return true;
}

std::optional<CDeviceCheckWorker::Progress> CDeviceCheckWorker::TakeProgress() {
    if (!m_check) {
        return std::nullopt;
    }
    Progress taken;
    {
        const std::lock_guard<std::mutex> lock(m_check->mutex);
        taken = std::exchange(m_check->progress, Progress{});
        m_check->progress.done = taken.done;
        m_check->progress.total = taken.total;
        m_check->posted = false;
    }
    if (taken.finished) {
        m_check.reset();
    }
    return taken;
}

void CDeviceCheckWorker::Stop() {
    if (m_check) {
        m_check->run.Cancel();
    }
    m_worker.Stop();
    m_check.reset();
}
