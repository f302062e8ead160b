#include "connect/ConnectWorker_win32.h"

#include <winsock2.h>
#include <process.h>

#include <atomic>

// The cloud server the library is pointed at; our library finds devices in its own directory
// file and does not use it.
constexpr char kCloudServerHost[128] = "cloud.tavrin.invalid";

struct CConnectWorker::Attempt {
    std::shared_ptr<NatLibrary> nat;
    Request request;
    HWND window = nullptr;
    HANDLE stopEvent = nullptr;  // auto-reset; signalled to ask the worker to end

    // Written by the worker before it posts (release), read by the window after the message
    // arrived (acquire).
    Result result;
    unsigned int socket = ~0u;
    std::atomic<bool> finished{false};
    // Set by the window when it lets go of a worker that overran its wait.
    std::atomic<bool> abandoned{false};

    ~Attempt() {
        if (stopEvent != nullptr) {
            CloseHandle(stopEvent);
        }
    }
};

CConnectWorker::~CConnectWorker() { Stop(); }

bool CConnectWorker::Start(HWND window, const Request& request) {
    Stop();
    auto attempt = std::make_shared<Attempt>();
    attempt->nat = m_nat;
    attempt->request = request;
    attempt->window = window;
    attempt->stopEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (attempt->stopEvent == nullptr) {
        return false;
    }
    // The thread owns one reference of its own, released when it ends.
    auto* threadReference = new std::shared_ptr<Attempt>(attempt);
    const uintptr_t thread = _beginthreadex(nullptr, 0, &CConnectWorker::ConnectThreadProc,
                                            threadReference, 0, &m_uConnectThreadId);
    if (thread == 0) {
        delete threadReference;
        return false;
    }
    m_hConnectThread = reinterpret_cast<HANDLE>(thread);
    m_attempt = std::move(attempt);
    return true;
}

unsigned __stdcall CConnectWorker::ConnectThreadProc(void* reference) {
    const std::unique_ptr<std::shared_ptr<Attempt>> owned(
        static_cast<std::shared_ptr<Attempt>*>(reference));
    Attempt& attempt = **owned;
    if (WaitForSingleObject(attempt.stopEvent, 0) == WAIT_OBJECT_0) {
        return 0;
    }
    _NAT_traversal_error_code kind = 0;
    unsigned int socket = ~0u;
    const int connected =
        attempt.nat->HostNameConnect(&socket, attempt.request.hostName.c_str(),
                                     attempt.request.port, &kind, kCloudServerHost);
    Result result;
    if (connected == 1) {
        result.code = 1;
        result.tunnel.address = "127.0.0.1";
        result.tunnel.port = static_cast<std::uint16_t>(
            attempt.nat->GetVirtualServerPortForHostName(attempt.request.hostName.c_str()));
        result.connectionKind = kind;
    } else {
        result.code = static_cast<int>(attempt.nat->GetLastError());
    }
    attempt.result = result;
    attempt.socket = socket;
    attempt.finished.store(true, std::memory_order_release);
    if (!attempt.abandoned.load(std::memory_order_acquire)) {
        PostMessageW(attempt.window, WM_CONNECT_RESULT, 0, static_cast<LPARAM>(result.code));
    }
    return static_cast<unsigned>(result.code);
}

std::optional<CConnectWorker::Result> CConnectWorker::TakeResult() {
    if (!m_attempt || !m_attempt->finished.load(std::memory_order_acquire)) {
        return std::nullopt;
    }
    CloseSocket();
    m_natSocket = m_attempt->socket;
    m_attempt->socket = ~0u;
    Result result = m_attempt->result;
    m_attempt->finished.store(false, std::memory_order_relaxed);  // one message, one result
    return result;
}

void CConnectWorker::CloseSocket() {
    if (m_natSocket != ~0u) {
        closesocket(m_natSocket);
        m_natSocket = ~0u;
    }
}

void CConnectWorker::Stop() {
    if (m_attempt) {
        SetEvent(m_attempt->stopEvent);
    }
    if (m_hConnectThread != nullptr) {
        if (WaitForSingleObject(m_hConnectThread, kStopWaitMs) != WAIT_OBJECT_0) {
            // Killing a thread inside the library could leave its locks or the heap broken;
            // it keeps its own reference to everything it uses, so it may finish whenever.
            m_attempt->abandoned.store(true, std::memory_order_release);
        }
        CloseHandle(m_hConnectThread);
        m_hConnectThread = nullptr;
    }
    m_attempt.reset();
    CloseSocket();
}
