#include "connect/ConnectWorker_win32.h"

#include <atomic>
#include <utility>

namespace {

constexpr unsigned int kNoSocket = ~0u;

// Who has the attempt's outcome: the worker while it runs; the window once it is finished
// (until TakeResult has it); the worker again, for good, when the window abandoned it.
enum class AttemptState { kRunning, kFinished, kTaken, kAbandoned };

constexpr DWORD kPostRetryMs = 50;

CConnectWorker::Connector ConnectThroughLibrary(const std::shared_ptr<NatLibrary>& nat) {
    return [nat](NatRequest& request, unsigned int& socket) {
        CConnectWorker::Result result;
        NatConnectKind kind = 0;
        if (nat->HostNameConnect(&socket, request, &kind) == kNatConnected) {
            result.connected = true;
            result.code = kNatConnected;
            result.tunnel.address = "127.0.0.1";
            result.tunnel.port =
                static_cast<std::uint16_t>(nat->GetVirtualServerPortForHostName(request.hostName));
            result.connectionKind = kind;
        } else {
            result.code = static_cast<int>(nat->GetLastError());
        }
        return result;
    };
}

}  // namespace

struct CConnectWorker::Attempt {
    Connector connector;
    std::shared_ptr<NatRequest> request;
    HWND window = nullptr;

    // Written by the worker before it leaves kRunning, read by the window after.
    Result result;
    OwnedSocket socket;
    std::atomic<AttemptState> state{AttemptState::kRunning};
};

CConnectWorker::CConnectWorker(const std::shared_ptr<NatLibrary>& nat)
    : CConnectWorker(ConnectThroughLibrary(nat)) {}

CConnectWorker::CConnectWorker(Connector connector, DWORD stopWaitMs)
    : m_connector(std::move(connector)), m_worker(stopWaitMs) {}

CConnectWorker::~CConnectWorker() {
    Stop();
}

bool CConnectWorker::Start(HWND window, std::shared_ptr<NatRequest> request) {
    Stop();
    auto attempt = std::make_shared<Attempt>();
    attempt->connector = m_connector;
    attempt->request = std::move(request);
    attempt->window = window;
    if (!m_worker.Start([attempt](StoppableWorker::StopSignal& stop) {
            return ConnectThreadProc(*attempt, stop);
        })) {
        return false;
    }
    m_attempt = std::move(attempt);
    return true;
}

unsigned CConnectWorker::ConnectThreadProc(Attempt& attempt, StoppableWorker::StopSignal& stop) {
    if (stop.Requested()) {
        return 0;
    }
    unsigned int socket = kNoSocket;
    attempt.result = attempt.connector(*attempt.request, socket);
    attempt.socket.Reset(socket);
    const int code = attempt.result.code;
    AttemptState running = AttemptState::kRunning;
    if (attempt.state.compare_exchange_strong(running, AttemptState::kFinished,
                                              std::memory_order_acq_rel)) {
        // A full message queue refuses the post: the window would wait for this outcome, its
        // list disabled, for good. Asked again until it is taken or the window stops us.
        while (!PostMessageW(attempt.window, WM_CONNECT_RESULT, 0, static_cast<LPARAM>(code)) &&
               IsWindow(attempt.window) && !stop.Requested()) {
            Sleep(kPostRetryMs);
        }
    } else {
        // Abandoned: nobody will take the socket over.
        attempt.socket.Reset();
    }
    return static_cast<unsigned>(code);
}

std::optional<CConnectWorker::Result> CConnectWorker::TakeResult() {
    AttemptState finished = AttemptState::kFinished;
    if (!m_attempt || !m_attempt->state.compare_exchange_strong(finished, AttemptState::kTaken,
                                                                std::memory_order_acq_rel)) {
        return std::nullopt;
    }
    m_natSocket = std::move(m_attempt->socket);
    return m_attempt->result;
}

void CConnectWorker::Stop() {
    if (!m_worker.Stop() && m_attempt) {
        // Let go inside the library, never killed. Should it have finished meanwhile, its
        // outcome is the window's after all.
        AttemptState running = AttemptState::kRunning;
        m_attempt->state.compare_exchange_strong(running, AttemptState::kAbandoned,
                                                 std::memory_order_acq_rel);
    }
    // A finished attempt whose result was never handled still holds the library's socket.
    if (m_attempt && m_attempt->state.load(std::memory_order_acquire) != AttemptState::kAbandoned) {
        m_attempt->socket.Reset();
    }
    m_attempt.reset();
    m_natSocket.Reset();
}
