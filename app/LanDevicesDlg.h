// "Devices on this LAN": the devices the LAN search found, each marked as in the book or new, a
// new search on request (one at a time), the Add form filled from a chosen device, and one Add
// form that adds all new devices.
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
    // Runs the main window's Add form once for all the devices given (NewDevices of the rows).
    using AddNewDevices = std::function<void(HWND owner, std::span<const LanDeviceRow> newDevices)>;

    // The book is the main window's table, which the two commands change.
    CLanDevicesDlg(HINSTANCE instance, CDiscoveryWorker& discovery, const DeviceTable& book,
                   Language languageId, AddDevice addDevice, AddNewDevices addNewDevices);

    static std::span<const ui::MessageEntry<CLanDevicesDlg>> MessageTable();

protected:
    BOOL OnInitDialog() override;

private:
    void SetTexts();
    void SetUpColumns();
    // Shows whether a search runs; once one has ended, the list shows what it found.
    void ShowSearchState();
    void FillList();
    // Marks each row as in the book or new, and offers "Add all new" while one is new.
    void MarkRows();

    ui::MessageResult OnTimer(WPARAM timerId, LPARAM);
    ui::MessageResult OnDestroy(WPARAM, LPARAM);
    void OnClickedSearchAgain();
    void OnClickedAdd();
    void OnClickedAddAllNew();

    CDiscoveryWorker& m_discovery;
    const DeviceTable& m_book;
    Language m_languageId;
    AddDevice m_addDevice;
    AddNewDevices m_addNewDevices;
    std::vector<LanDeviceRow> m_rows;  // as the list shows them
    bool m_searching = false;
};
