// The NAT connect worker: one attempt at a time on a thread of its own, which asks the NAT
// library for a tunnel to the device and posts WM_CONNECT_RESULT to the window. Everything
// here but the thread body runs on the window's thread; the worker touches no window member.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "connect/ConnectDecision.h"
#include "connect/NatLibrary.h"

// Posted by the worker: wParam 0, lParam 1 for a tunnel or the library's error code.
constexpr UINT WM_CONNECT_RESULT = WM_USER + 1000;

class CConnectWorker {
public:
    static constexpr DWORD kStopWaitMs = 3000;

    // What one attempt asks the library for: the device's UUID and the number of its port.
    struct Request {
        std::string hostName;
        std::uint16_t port = 0;
    };

    // What a finished attempt found: code 1 with the tunnel's local end and the connection
    // kind, or the library's error code.
    struct Result {
        int code = 0;
        ConnectionTarget tunnel;
        int connectionKind = 0;
    };

    // The worker keeps the library loaded while it runs, even past the window's end.
    explicit CConnectWorker(std::shared_ptr<NatLibrary> nat) : m_nat(std::move(nat)) {}
    ~CConnectWorker();  // Stop()
    CConnectWorker(const CConnectWorker&) = delete;
    CConnectWorker& operator=(const CConnectWorker&) = delete;

    // Ends the previous attempt (Stop) and starts a new one that posts its result to window.
    // False when the thread could not be started; nothing will be posted then.
    bool Start(HWND window, const Request& request);

    // The result of the current attempt, once its WM_CONNECT_RESULT has arrived; nothing for a
    // message that no running attempt of ours sent.
    std::optional<Result> TakeResult();

    // Signals the attempt to stop, waits at most kStopWaitMs for its thread, then lets go of
    // it: a thread still inside the library is left to end by itself (it keeps what it uses
    // alive) and its result is never posted. Closes the socket the library handed over.
    void Stop();

private:
    struct Attempt;

    static unsigned __stdcall ConnectThreadProc(void* attempt);
    void CloseSocket();

    std::shared_ptr<NatLibrary> m_nat;
    std::shared_ptr<Attempt> m_attempt;
    HANDLE m_hConnectThread = nullptr;
    unsigned m_uConnectThreadId = 0;
    unsigned int m_natSocket = ~0u;  // the invalid socket: none held
};
