// The main window's keyboard and context-menu ways to the commands of its buttons and of the
// double-click, the list's questions about its rows, and its way to the devices on the LAN.
#include "app/TavrinDlg.h"

#include <commctrl.h>

#include "app/DeviceContextMenu.h"
#include "app/LanDevicesDlg.h"

LRESULT CTavrinDlg::OnKeydownDeviceList(NMHDR* header) {
    const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(header);
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    if (alt) {
        return 0;
    }
    switch (key->wVKey) {
        case VK_DELETE:
            OnClickedDelete();
            break;
        case VK_F2:
            OnClickedEdit();
            break;
        case VK_F5:
            OnMenuCheckDevices();
            break;
        case VK_INSERT:
            OnClickedAdd();
            break;
        case 'N':
            if (control) {
                OnClickedAdd();
            }
            break;
        case 'F':
        case 'E':
            if (control) {
                ShowFilter();
            }
            break;
        default:
            break;
    }
    return 0;
}

LRESULT CTavrinDlg::OnGetdispinfoDeviceList(NMHDR* header) {
    return m_deviceList.OnGetDispInfo(header);
}

LRESULT CTavrinDlg::OnOdfinditemDeviceList(NMHDR* header) {
    return m_deviceList.OnFindItem(header);
}

ui::MessageResult CTavrinDlg::OnContextMenu(WPARAM window, LPARAM position) {
    if (reinterpret_cast<HWND>(window) != m_deviceList.Handle()) {
        return ui::kDefault;
    }
    ShowDeviceListMenu(Handle(), m_deviceList.Handle(), position, m_languageId,
                       m_check.IsRunning());
    return 0;
}

void CTavrinDlg::OnMenuConnect() {
    OnDblclkDeviceList(nullptr);
}

void CTavrinDlg::OnMenuLanDevices() {
    const auto command = BeginCommand();
    if (!command) {
        return;
    }
    CLanDevicesDlg dialog(
        Instance(), m_discovery, m_devices, m_languageId,
        [this](HWND owner, const DeviceFormFields& prefilled) { AddDevice(owner, prefilled); },
        [this](HWND owner, std::span<const LanDeviceRow> newDevices) {
            AddNewLanDevices(owner, newDevices);
        });
    dialog.DoModal(Handle());
}
