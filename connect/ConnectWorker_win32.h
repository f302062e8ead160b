// The NAT connect worker: one attempt at a time on a thread of its own, which asks the NAT
// library for a tunnel to the device and posts WM_CONNECT_RESULT to the window. Everything
// here but the thread body runs on the window's thread; the worker touches no window member.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

#include "base/StoppableWorker_win32.h"
#include "base/UniqueHandle_win32.h"
#include "connect/ConnectDecision.h"
#include "connect/NatLibrary_win32.h"
#include "connect/NatRequest.h"

// Posted by the worker: wParam 0, lParam 1 for a tunnel or the library's error code. The
// outcome itself is read from the worker (TakeResult), never from the message.
constexpr UINT WM_CONNECT_RESULT = WM_USER + 1000;

class CConnectWorker {
public:
    static constexpr DWORD kStopWaitMs = 3000;

    // What a finished attempt found: a tunnel (its local end and the connection kind), or the
    // library's error code. Success is its own flag, since a library may report any code,
    // 1 included, after a failure.
    struct Result {
        bool connected = false;
        int code = 0;  // kNatConnected when connected
        ConnectionTarget tunnel;
        NatConnectKind connectionKind = 0;
    };

    // One attempt's call into the library, on the worker thread: may write into the request's
    // buffers, and hands over the socket it was given (or leaves the invalid value).
    using Connector = std::function<Result(NatRequest& request, unsigned int& socket)>;

    // The launcher's worker, connecting through the library, which it keeps alive.
    explicit CConnectWorker(const std::shared_ptr<NatLibrary>& nat);
    explicit CConnectWorker(Connector connector, DWORD stopWaitMs = kStopWaitMs);
    ~CConnectWorker();  // Stop()
    CConnectWorker(const CConnectWorker&) = delete;
    CConnectWorker& operator=(const CConnectWorker&) = delete;

    // Ends the previous attempt (Stop) and starts a new one with the request's buffers, which
    // the worker holds until its call has returned, and that posts its result to window.
    // False when the thread could not be started; nothing will be posted then.
    bool Start(HWND window, std::shared_ptr<NatRequest> request);

    // The result of the current attempt, once, after its WM_CONNECT_RESULT has been posted;
    // nothing for a message that no running attempt of ours sent. Takes over the socket the
    // library handed out, closing the one held before.
    std::optional<Result> TakeResult();

    // Signals the attempt to stop, waits at most the stop wait for its thread, then lets go
    // of it: a thread still inside the library is left to end by itself (it keeps what it
    // uses alive, closes its socket itself and never posts). Closes every socket the
    // library handed out, taken or not.
    void Stop();

private:
    struct Attempt;

    static unsigned ConnectThreadProc(Attempt& attempt, StoppableWorker::StopSignal& stop);

    Connector m_connector;
    std::shared_ptr<Attempt> m_attempt;
    OwnedSocket m_natSocket;  // the socket of the result taken last
    StoppableWorker m_worker;
};
