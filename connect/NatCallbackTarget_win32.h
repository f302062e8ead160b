// What the NAT library's two callbacks reach. The library's threads may call back after
// NATSocket_DeInit has returned, when the window has gone: so the target is made once, never
// freed, and closed when the window shuts the library down. A closed target's callbacks touch
// nothing and post nothing.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "connect/NatInfoQueue.h"
#include "natapi/NatTraversal.h"

// Posted to the window by the library's threads, without data: any program may post them too.
constexpr UINT WM_NAT_STATUS = WM_USER + 1001;
constexpr UINT WM_NAT_INFO = WM_USER + 1002;

class NatCallbackTarget {
public:
    // A new target for the window, which lives until the process ends.
    static NatCallbackTarget& Open(HWND window);
    NatCallbackTarget(const NatCallbackTarget&) = delete;
    NatCallbackTarget& operator=(const NatCallbackTarget&) = delete;

    // The record for NATSocket_Init, which must outlive NATSocket_DeInit: it lives as long as
    // the target.
    _tagCB* Record() { return &m_record; }

    // From now on the status callback tells the window of the tunnel's connections.
    void TunnelConnected() { m_bNatConnected.store(1, std::memory_order_release); }
    // The info texts waiting, oldest first (the window's thread, on WM_NAT_INFO).
    std::vector<std::string> TakeInfoTexts() { return m_infoTexts.TakeAll(); }
    // The window is about to shut the library down and go: no callback reaches it after this.
    void Close() { m_closed.store(true, std::memory_order_release); }

private:
    explicit NatCallbackTarget(HWND window);

    static int __cdecl NatInfoCallback(void* context, const char* first, const char* second,
                                       std::uint64_t value1, std::uint64_t value2,
                                       std::uint64_t value3, std::uint8_t flag);
    static int __cdecl NatStatusCallback(void* context);

    bool IsClosed() const { return m_closed.load(std::memory_order_acquire); }

    const HWND m_window;
    std::atomic<bool> m_closed{false};
    NatInfoQueue m_infoTexts;  // filled by NatInfoCallback, emptied by TakeInfoTexts
    std::atomic<int> m_bNatConnected{0};
    _tagCB m_record;
};
