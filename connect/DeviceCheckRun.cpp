#include "connect/DeviceCheckRun.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <utility>

HttpAnswer DeviceCheckRun::FetchOverHttp(const std::string& url, const DeviceRecord& record,
                                         const std::function<bool()>& cancelled) {
    return HttpGetCancellable(url.c_str(), record.account, record.password, cancelled);
}

DeviceCheckRun::DeviceCheckRun(std::vector<DeviceCheckJob> jobs, LanSearchSnapshot lan, Fetch fetch)
    : m_jobs(std::move(jobs)), m_lan(std::move(lan)), m_fetch(std::move(fetch)) {}

void DeviceCheckRun::Run(const Report& report) {
    // Each thread makes one request at a time, so the threads are the limit.
    const std::size_t threads = std::min(kMaxRequests, m_jobs.size());
    std::vector<std::thread> helpers;
    helpers.reserve(threads);
    for (std::size_t i = 1; i < threads; ++i) {
        try {
            helpers.emplace_back([this, &report] { CheckJobs(report); });
        } catch (const std::system_error&) {
            break;  // fewer threads, the same work: the caller's thread still checks
        }
    }
    CheckJobs(report);
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

void DeviceCheckRun::CheckJobs(const Report& report) {
    const std::function<bool()> cancelled = [this] { return Cancelled(); };
    const CheckFetch fetch = [this, &cancelled](const std::string& url,
                                                const DeviceRecord& record) {
        return m_fetch(url, record, cancelled);
    };
    while (!Cancelled()) {
        const std::size_t next = m_next.fetch_add(1, std::memory_order_relaxed);
        if (next >= m_jobs.size()) {
            return;
        }
        const DeviceCheckJob& job = m_jobs[next];
        const DeviceStatus status = CheckDevice(job.record, m_lan, fetch);
        // A request the cancel cut short says nothing about the device.
        if (Cancelled()) {
            return;
        }
        const std::lock_guard<std::mutex> lock(m_reportMutex);
        report(DeviceCheckResult{job.id, status}, ++m_done);
    }
}
