// One check of many devices: at most kMaxRequests requests at once, each on a thread of its
// own, every device's status reported as it comes, and a cancel that any thread may give.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "addressbook/DeviceTable.h"
#include "connect/DeviceCheck.h"

// A device to check: which record it is, and the record as it was when the check started.
struct DeviceCheckJob {
    RecordId id = 0;
    DeviceRecord record{};
};

struct DeviceCheckResult {
    RecordId id = 0;
    DeviceStatus status = DeviceStatus::kNoAnswer;
};

class DeviceCheckRun {
public:
    static constexpr std::size_t kMaxRequests = 8;

    // Fetches one page with the record's credentials, giving up once cancelled() is true.
    using Fetch = std::function<HttpAnswer(const std::string& url, const DeviceRecord& record,
                                           const std::function<bool()>& cancelled)>;
    // One checked device and how many are checked so far, the first 1.
    using Report = std::function<void(const DeviceCheckResult& result, std::size_t done)>;

    // HttpGetCancellable.
    static HttpAnswer FetchOverHttp(const std::string& url, const DeviceRecord& record,
                                    const std::function<bool()>& cancelled);

    DeviceCheckRun(std::vector<DeviceCheckJob> jobs, LanSearchSnapshot lan,
                   Fetch fetch = &FetchOverHttp);

    std::size_t Total() const { return m_jobs.size(); }

    // Checks every job, in their order, with up to kMaxRequests threads (the caller's among
    // them), and returns when all are checked or, after a cancel, once the requests under way
    // have given up. report is called once a job, one call at a time, on any of the threads;
    // a check that the cancel cut short is not reported. Runs once.
    void Run(const Report& report);

    // Any thread, before or during Run: no request starts any more, those under way give up.
    void Cancel() { m_cancelled.store(true, std::memory_order_release); }
    bool Cancelled() const { return m_cancelled.load(std::memory_order_acquire); }

private:
    void CheckJobs(const Report& report);

    const std::vector<DeviceCheckJob> m_jobs;
    const LanSearchSnapshot m_lan;
    const Fetch m_fetch;
    std::atomic<std::size_t> m_next{0};  // the next job a thread takes
    std::atomic<bool> m_cancelled{false};
    std::mutex m_reportMutex;
    std::size_t m_done = 0;  // under m_reportMutex
};
