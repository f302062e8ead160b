// Stopping a worker whose run ignores the stop, as the tests of both workers do: wait until
// the run has begun, then time its stop.
#pragma once

#include <atomic>
#include <chrono>
#include <thread>

struct TimedStop {
    std::chrono::steady_clock::time_point start;  // when Stop was called
    double seconds;                               // how long it took
};

template <class Stop>
TimedStop StopOnceStarted(const Stop& stop, const std::atomic<bool>& started) {
    while (!started) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const auto start = std::chrono::steady_clock::now();
    stop();
    return {start, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()};
}
