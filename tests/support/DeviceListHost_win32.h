// A window holding a device list of its own and answering the list's questions about its
// rows as the main window does: for the tests and benchmarks that drive the list alone.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "app/DeviceListView.h"

class DeviceListHost {
public:
    DeviceListHost(int width, int height, DWORD shown) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        m_parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | shown, 0, 0, width + 40,
                                   height + 40, nullptr, nullptr, nullptr, nullptr);
        m_list =
            CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | shown | LVS_REPORT | LVS_OWNERDATA, 20,
                            20, width, height, m_parent, nullptr, nullptr, nullptr);
        SetWindowSubclass(m_parent, &Answer, 0, reinterpret_cast<DWORD_PTR>(&m_view));
        m_view.Attach(m_list);
    }
    ~DeviceListHost() { DestroyWindow(m_parent); }
    DeviceListHost(const DeviceListHost&) = delete;
    DeviceListHost& operator=(const DeviceListHost&) = delete;

    // False when the windows could not be made (no display).
    bool Made() const { return m_parent != nullptr && m_list != nullptr; }
    HWND List() const { return m_list; }
    DeviceListView& View() { return m_view; }

private:
    static LRESULT CALLBACK Answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR, DWORD_PTR view) {
        if (message == WM_NOTIFY) {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            auto& list = *reinterpret_cast<DeviceListView*>(view);
            if (header->code == LVN_GETDISPINFOW) {
                return list.OnGetDispInfo(header);
            }
            if (header->code == LVN_ODFINDITEMW) {
                return list.OnFindItem(header);
            }
        }
        return DefSubclassProc(window, message, wParam, lParam);
    }

    HWND m_parent = nullptr;
    HWND m_list = nullptr;
    DeviceListView m_view;
};
