// One job at a time on a thread of its own, asked to stop through an event and never killed:
// killing a thread inside a library or the heap could leave their locks broken. The thread
// keeps its job, and all the job holds, alive until it ends, so a job that overruns the stop
// wait is let go to finish by itself. Start and Stop run on the owner's thread.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <utility>

#include "base/UniqueHandle_win32.h"

class StoppableWorker {
public:
    // The job's view of the stop, on its own thread. The event resets itself when a check
    // sees it, so the first sighting is remembered for every later check: a stop seen in one
    // step of the job must also end the next.
    class StopSignal {
    public:
        explicit StopSignal(OwnedHandle event) : m_event(std::move(event)) {}
        bool Requested();

    private:
        friend class StoppableWorker;
        OwnedHandle m_event;  // auto-reset, unnamed: the owner's only signal to the job
        bool m_seen = false;  // the job's own
    };

    // Runs on the worker's thread; what it returns is the thread's exit code.
    using Job = std::function<unsigned(StopSignal& stop)>;

    explicit StoppableWorker(DWORD stopWaitMs) : m_stopWaitMs(stopWaitMs) {}
    ~StoppableWorker() { Stop(); }
    StoppableWorker(const StoppableWorker&) = delete;
    StoppableWorker& operator=(const StoppableWorker&) = delete;

    // Stops the job before (Stop) and starts this one. False when its thread could not be
    // started: the job never runs then, and is released at once.
    bool Start(Job job);

    // Signals the stop, waits at most the stop wait for the thread to end, and lets go of it.
    // False when the thread was still running at the end of the wait, and is abandoned; true
    // when it ended, or when there was none.
    bool Stop();

private:
    struct Shared;

    static unsigned __stdcall ThreadProc(void* shared);

    DWORD m_stopWaitMs;
    // The stop signal and the job, of which the thread holds a reference of its own.
    std::shared_ptr<Shared> m_shared;
    OwnedHandle m_thread;
};
