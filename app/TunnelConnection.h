// The launcher's side of the NAT library: loading and starting it, one tunnel attempt at a
// time on the connect worker, the attempt's outcome back on the window's thread, the library's
// callbacks, and its shutdown. Everything here runs on the window's thread; the worker and the
// callbacks hand over to it by posted messages (WM_CONNECT_RESULT, WM_NAT_INFO, WM_NAT_STATUS).
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "addressbook/DeviceTable.h"
#include "connect/ConnectDecision.h"
#include "connect/ConnectWorker_win32.h"
#include "connect/NatCallbackTarget_win32.h"
#include "connect/NatLibrary_win32.h"
#include "connect/NatRequest.h"
#include "texts/Language.h"

class TunnelConnection {
public:
    TunnelConnection();
    TunnelConnection(const TunnelConnection&) = delete;
    TunnelConnection& operator=(const TunnelConnection&) = delete;

    // Loads the library from the program folder and starts it, its callbacks reaching the
    // window. What to tell the user when it cannot be started; nothing once it runs.
    std::optional<std::wstring> Start(HWND window, const std::wstring& programFolder,
                                      Language language);

    // Starts an attempt for the device with this id and record, whose outcome the window's
    // WM_CONNECT_RESULT brings. False when the worker could not be started.
    bool Connect(HWND window, RecordId id, const DeviceRecord& record);

    // The device an attempt was started for: its id, to find it again in a table that a
    // merged save may have reordered, and its record as it was then, for a device that has
    // gone meanwhile.
    struct Attempt {
        RecordId id;
        DeviceRecord asStarted;
    };
    // What an attempt found, and for which device.
    struct Outcome {
        std::optional<Attempt> attempt;
        bool connected = false;
        int code = 0;  // the library's error code when not connected
    };
    // For WM_CONNECT_RESULT: the running attempt's outcome, once. Nothing for a message that
    // is not the worker's (another program may post it) or for a stale attempt. Tells the
    // debugger what arrived either way.
    std::optional<Outcome> TakeOutcome(WPARAM wParam, LPARAM code);

    // The LAN address or tunnel end of the last connection, which a double-click's decision
    // updates too.
    ConnectionTarget Target() const { return {m_targetAddress, m_targetPort}; }
    void SetTarget(const ConnectionTarget& target);
    NatConnectKind ConnectKind() const { return m_natConnectKind; }

    // The library's info texts waiting for the window (WM_NAT_INFO), oldest first.
    std::vector<std::string> TakeInfoTexts();

    // Stops the attempt, closes the callbacks and shuts the library down: at close, once.
    void Stop();

    // The message for a failed attempt's error code.
    static std::wstring FailureText(int code, Language language);

private:
    std::shared_ptr<NatLibrary> m_library;
    // The buffers of every attempt, shared with its worker, kept until after the library's
    // shutdown: a tunnel (and its viewer) outlives the attempt, and the library may keep
    // pointers into them.
    std::vector<std::shared_ptr<NatRequest>> m_requests;
    std::optional<Attempt> m_attempt;
    CConnectWorker m_connectWorker;
    NatCallbackTarget* m_callbacks = nullptr;  // from Start on; outlives the window
    std::string m_targetAddress;
    std::uint16_t m_targetPort = 0;
    NatConnectKind m_natConnectKind = 0;
};
