#include "app/TunnelConnection.h"

#include <utility>

#include "base/FixedText.h"
#include "texts/FormatText.h"
#include "texts/Texts.h"

TunnelConnection::TunnelConnection()
    : m_library(std::make_shared<NatLibrary>()), m_connectWorker(m_library) {}

std::optional<std::wstring> TunnelConnection::Start(HWND window, const std::wstring& programFolder,
                                                    Language language) {
    m_callbacks = &NatCallbackTarget::Open(window);
    if (!m_library->Load(programFolder)) {
        return std::wstring(InLanguage(texts::kInitNatFailed, language)) + L"\n" +
               FormatText(texts::kNatLibraryNotLoaded, language, m_library->Folder().c_str());
    }
    if (m_library->Init(0, m_callbacks->Record()) == 0) {
        m_library->GetLastError();
        return std::wstring(InLanguage(texts::kInitNatFailed, language));
    }
    return std::nullopt;
}

bool TunnelConnection::Connect(HWND window, RecordId id, const DeviceRecord& record) {
    m_attempt = Attempt{id, record};
    m_requests.push_back(std::make_shared<NatRequest>(
        MakeNatRequest(FieldText(record.uuid), TunnelRequestPort(FieldText(record.serverPort)))));
    if (!m_connectWorker.Start(window, m_requests.back())) {
        m_attempt.reset();
        return false;
    }
    return true;
}

std::optional<TunnelConnection::Outcome> TunnelConnection::TakeOutcome(WPARAM wParam, LPARAM code) {
    // The worker posts its outcome with wParam 0. Any other message is another program's and
    // leaves the attempt's outcome for the worker's own message.
    if (wParam != 0) {
        OutputDebugStringA(
            ("[Tavrin] Return Data= , Error Code= " + std::to_string(code) + "\n").c_str());
        return std::nullopt;
    }
    // Only the attempt that is running may answer; anything else is stale.
    const std::optional<CConnectWorker::Result> result = m_connectWorker.TakeResult();
    if (!result) {
        return std::nullopt;
    }
    Outcome outcome{std::exchange(m_attempt, std::nullopt), result->connected, result->code};
    if (result->connected) {
        SetTarget(result->tunnel);
        m_natConnectKind = result->connectionKind;
        m_callbacks->TunnelConnected();
    }
    OutputDebugStringA(
        ("[Tavrin] Return Data= " + ConnectResultText(result->connected, result->code, Target()) +
         ", Error Code= " + std::to_string(code) + "\n")
            .c_str());
    return outcome;
}

void TunnelConnection::SetTarget(const ConnectionTarget& target) {
    m_targetAddress = target.address;
    m_targetPort = target.port;
}

std::vector<std::string> TunnelConnection::TakeInfoTexts() {
    // Another program may post WM_NAT_INFO before the library has been started.
    return m_callbacks != nullptr ? m_callbacks->TakeInfoTexts() : std::vector<std::string>();
}

void TunnelConnection::Stop() {
    m_connectWorker.Stop();
    if (m_callbacks != nullptr) {
        m_callbacks->Close();
    }
    m_library->DeInit();
}

std::wstring TunnelConnection::FailureText(int code, Language language) {
    if (code == kNatErrorDeviceNotExist) {
        return InLanguage(texts::kDeviceNotExist, language);
    }
    if (code == kNatErrorCaptcha) {
        return InLanguage(texts::kCaptchaError, language);
    }
    return FormatText(texts::kConnectFailed, language, code);
}
