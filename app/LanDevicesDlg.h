// "Devices on this LAN": the devices the LAN search found, a new search on request (one at a
// time), and the Add form filled from a chosen device.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include "app/LanDeviceRows.h"
#include "discovery/DiscoveryWorker_win32.h"
#include "texts/Language.h"
#include "ui/Dialog.h"

class CLanDevicesDlg : public ui::TableDialog<CLanDevicesDlg> {
public:
    // Runs the main window's Add command with the form filled in, owned by the given window;
    // nothing is added unless the user confirms the form.
    using AddDevice = std::function<void(HWND owner, const DeviceFormFields& prefilled)>;

    CLanDevicesDlg(HINSTANCE instance, CDiscoveryWorker& discovery, Language languageId,
                   AddDevice addDevice);

    static std::span<const ui::MessageEntry<CLanDevicesDlg>> MessageTable();

protected:
    BOOL OnInitDialog() override;

private:
    void SetTexts();
    void SetUpColumns();
    // Shows whether a search runs; once one has ended, the list shows what it found.
    void ShowSearchState();
    void FillList();

    ui::MessageResult OnTimer(WPARAM timerId, LPARAM);
    ui::MessageResult OnDestroy(WPARAM, LPARAM);
    void OnClickedSearchAgain();
    void OnClickedAdd();

    CDiscoveryWorker& m_discovery;
    Language m_languageId;
    AddDevice m_addDevice;
    std::vector<LanDeviceRow> m_rows;  // as the list shows them
    bool m_searching = false;
};
