#include "base/StoppableWorker_win32.h"

#include <process.h>

#include <cstdint>
#include <utility>

struct StoppableWorker::Shared {
    // Spelled out for make_shared: clang, which scripts/check runs over this file, takes no
    // aggregate from parentheses before version 16.
    Shared(StopSignal stopSignal, Job work) : stop(std::move(stopSignal)), job(std::move(work)) {}

    StopSignal stop;
    Job job;
};

bool StoppableWorker::StopSignal::Requested() {
    m_seen = m_seen || WaitForSingleObject(m_event.Get(), 0) == WAIT_OBJECT_0;
    return m_seen;
}

bool StoppableWorker::Start(Job job) {
    Stop();
    OwnedHandle stopEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (!stopEvent.IsValid()) {
        return false;
    }
    auto shared = std::make_shared<Shared>(StopSignal(std::move(stopEvent)), std::move(job));
    // The thread owns one reference of its own, released when it ends.
    auto threadReference = std::make_unique<std::shared_ptr<Shared>>(shared);
    const std::uintptr_t thread =
        _beginthreadex(nullptr, 0, &StoppableWorker::ThreadProc, threadReference.get(), 0, nullptr);
    if (thread == 0) {
        return false;
    }
    // Started: from here the reference is the thread's to free.
    static_cast<void>(threadReference.release());
    m_thread.Reset(reinterpret_cast<HANDLE>(thread));
    m_shared = std::move(shared);
    return true;
}

bool StoppableWorker::Stop() {
    if (m_shared) {
        SetEvent(m_shared->stop.m_event.Get());
    }
    bool ended = true;
    if (m_thread.IsValid()) {
        ended = WaitForSingleObject(m_thread.Get(), m_stopWaitMs) == WAIT_OBJECT_0;
        m_thread.Reset();
    }
    m_shared.reset();
    return ended;
}

unsigned __stdcall StoppableWorker::ThreadProc(void* threadReference) {
    const std::unique_ptr<std::shared_ptr<Shared>> owned(
        static_cast<std::shared_ptr<Shared>*>(threadReference));
    Shared& shared = **owned;
    return shared.job(shared.stop);
}
