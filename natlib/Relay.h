// One connection accepted on a tunnel's port, forwarded to the device on a thread of its own:
// the thread connects to the device, passes bytes both ways until both sides have closed, one
// side fails, or the session's stop event is set, then closes both sockets and reports.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <thread>

#include "base/UniqueHandle_win32.h"
#include "natlib/Callbacks.h"
#include "natlib/Directory.h"

class Relay {
public:
    // device, callbacks and the stop event must outlive this object.
    Relay(OwnedSocket client, const NatDevice& device, NatConnectKind kind,
          const NatCallbacks& callbacks, WSAEVENT stop);
    // Waits for the thread: set the stop event first to end a live connection.
    ~Relay();
    Relay(const Relay&) = delete;
    Relay& operator=(const Relay&) = delete;

    // True once the thread has done everything but return.
    bool Finished() const { return m_finished.load(std::memory_order_acquire); }

private:
    void Run();
    bool ConnectToDevice(WSAEVENT deviceEvent);
    void Forward(WSAEVENT clientEvent, WSAEVENT deviceEvent, ForwardedTraffic& traffic);

    OwnedSocket m_client;
    OwnedSocket m_device;
    const NatDevice& m_target;
    const NatConnectKind m_kind;
    const NatCallbacks& m_callbacks;
    const WSAEVENT m_stop;
    std::atomic<bool> m_finished{false};
    std::thread m_thread;  // last: starts once everything above is in place
};
