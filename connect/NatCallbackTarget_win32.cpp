#include "connect/NatCallbackTarget_win32.h"

#include <cstdio>

NatCallbackTarget& NatCallbackTarget::Open(HWND window) {
    // Never deleted: a library thread may call back at any moment until the process ends.
    return *new NatCallbackTarget(window);
}

NatCallbackTarget::NatCallbackTarget(HWND window)
    : m_window(window), m_record{this, &NatInfoCallback, &NatStatusCallback} {}

int __cdecl NatCallbackTarget::NatInfoCallback(void* context, const char* first, const char* second,
                                               std::uint64_t value1, std::uint64_t value2,
                                               std::uint64_t value3, std::uint8_t flag) {
    auto& self = *static_cast<NatCallbackTarget*>(context);
    if (self.IsClosed()) {
        return 1;
    }
    char text[512];
    std::snprintf(text, sizeof text, "%s\t%s\t%llu\t%llu\t%llu\t%d\t", first ? first : "",
                  second ? second : "", static_cast<unsigned long long>(value1),
                  static_cast<unsigned long long>(value2), static_cast<unsigned long long>(value3),
                  static_cast<int>(flag));
    // Queued, so a later callback cannot overwrite a text that the window is still reading.
    if (self.m_infoTexts.Push(text) && !PostMessageW(self.m_window, WM_NAT_INFO, 0, 0)) {
        self.m_infoTexts.PostFailed();
    }
    return 1;
}

int __cdecl NatCallbackTarget::NatStatusCallback(void* context) {
    auto& self = *static_cast<NatCallbackTarget*>(context);
    if (!self.IsClosed() && self.m_bNatConnected.load(std::memory_order_acquire) == 1) {
        PostMessageW(self.m_window, WM_NAT_STATUS, 1, 0);
    }
    return 1;
}
