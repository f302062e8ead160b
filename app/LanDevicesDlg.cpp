#include "app/LanDevicesDlg.h"

#include <commctrl.h>

#include <utility>

#include "app/ListColumns.h"
#include "resources/resource.h"
#include "texts/FormatText.h"
#include "texts/Messages.h"
#include "texts/Texts.h"
#include "ui/ListView.h"

namespace {

// The search runs on the worker's thread and tells no window when it ends: look every so often.
constexpr UINT_PTR kPollTimerId = 1;
constexpr UINT kPollIntervalMs = 250;

}  // namespace

std::span<const ui::MessageEntry<CLanDevicesDlg>> CLanDevicesDlg::MessageTable() {
    using D = CLanDevicesDlg;
    static const ui::MessageEntry<D> table[] = {
        ui::OnMessage<D>(WM_TIMER, &D::OnTimer),
        ui::OnMessage<D>(WM_DESTROY, &D::OnDestroy),
        ui::OnCommand<D>(IDC_LAN_SEARCH_AGAIN, BN_CLICKED, &D::OnClickedSearchAgain),
        ui::OnCommand<D>(IDC_LAN_ADD, BN_CLICKED, &D::OnClickedAdd),
        ui::OnCommand<D>(IDC_LAN_ADD_ALL_NEW, BN_CLICKED, &D::OnClickedAddAllNew),
    };
    return table;
}

CLanDevicesDlg::CLanDevicesDlg(HINSTANCE instance, CDiscoveryWorker& discovery,
                               const DeviceTable& book, Language languageId, AddDevice addDevice,
                               AddNewDevices addNewDevices)
    : TableDialog(instance, IDD_LAN_DEVICES),
      m_discovery(discovery),
      m_book(book),
      m_languageId(languageId),
      m_addDevice(std::move(addDevice)),
      m_addNewDevices(std::move(addNewDevices)) {}

BOOL CLanDevicesDlg::OnInitDialog() {
    SetTexts();
    SetUpColumns();
    m_searching = m_discovery.IsRunning();
    if (!m_searching) {
        FillList();
    }
    ShowSearchState();
    SetTimer(Handle(), kPollTimerId, kPollIntervalMs, nullptr);
    return TRUE;
}

void CLanDevicesDlg::SetTexts() {
    SetWindowTextW(Handle(), InLanguage(texts::kLanCaption, m_languageId));
    const std::pair<int, const UiText&> controls[] = {
        {IDC_LAN_SEARCH_AGAIN, texts::kLanSearchAgain},
        {IDC_LAN_ADD, texts::kLanAdd},
        {IDC_LAN_ADD_ALL_NEW, texts::kLanAddAllNew},
        {IDCANCEL, texts::kLanClose},
    };
    for (const auto& [id, text] : controls) {
        SetDlgItemTextW(Handle(), id, InLanguage(text, m_languageId));
    }
}

void CLanDevicesDlg::SetUpColumns() {
    const HWND list = Item(IDC_LAN_LIST);
    ui::SetUpColumns(list, ColumnHeaders(kLanColumns, m_languageId),
                     ColumnWidthsFor(kLanColumns, ui::ClientWidth(list)));
}

void CLanDevicesDlg::ShowSearchState() {
    if (m_searching) {
        SetDlgItemTextW(Handle(), IDC_LAN_STATUS, InLanguage(texts::kLanSearching, m_languageId));
    } else {
        SetDlgItemTextW(
            Handle(), IDC_LAN_STATUS,
            FormatText(texts::kLanFound, m_languageId, static_cast<int>(m_rows.size())).c_str());
    }
    const HWND searchAgain = Item(IDC_LAN_SEARCH_AGAIN);
    if (m_searching && GetFocus() == searchAgain) {
        // A disabled button keeps no focus: the keyboard stays with the list.
        SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_LAN_LIST)), TRUE);
    }
    EnableWindow(searchAgain, !m_searching);
    MarkRows();
}

void CLanDevicesDlg::FillList() {
    m_rows.clear();
    for (const DiscoveredDevice& device : m_discovery.DiscoveredDevices()) {
        m_rows.push_back(RowOfDiscoveredDevice(device));
    }
    const HWND list = Item(IDC_LAN_LIST);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const LanDeviceRow& row = m_rows[i];
        ui::InsertRow(
            list, static_cast<int>(i),
            {row.name.c_str(), row.ipAddress.c_str(), row.port.c_str(), row.macAddress.c_str()});
    }
    if (!m_rows.empty()) {
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
}

void CLanDevicesDlg::MarkRows() {
    const HWND list = Item(IDC_LAN_LIST);
    constexpr int kBookColumn = static_cast<int>(kLanColumns.size()) - 1;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const UiText& mark = IsInBook(m_rows[i], m_book) ? texts::kLanInBook : texts::kLanNew;
        ui::SetCellText(list, static_cast<int>(i), kBookColumn, InLanguage(mark, m_languageId));
    }
    const HWND addAllNew = Item(IDC_LAN_ADD_ALL_NEW);
    const bool anyNew = !m_searching && !NewDevices(m_rows, m_book).empty();
    if (!anyNew && GetFocus() == addAllNew) {
        SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    }
    EnableWindow(addAllNew, anyNew);
}

ui::MessageResult CLanDevicesDlg::OnTimer(WPARAM timerId, LPARAM) {
    if (timerId != kPollTimerId) {
        return ui::kDefault;
    }
    const bool searching = m_discovery.IsRunning();
    if (searching == m_searching) {
        return 0;
    }
    m_searching = searching;
    if (!searching) {
        FillList();
    }
    ShowSearchState();
    return 0;
}

ui::MessageResult CLanDevicesDlg::OnDestroy(WPARAM, LPARAM) {
    KillTimer(Handle(), kPollTimerId);
    return ui::kDefault;
}

void CLanDevicesDlg::OnClickedSearchAgain() {
    m_discovery.StartDiscovery();
    m_searching = m_discovery.IsRunning();
    if (!m_searching) {
        FillList();  // the search could not start: nothing found
    }
    ShowSearchState();
}

void CLanDevicesDlg::OnClickedAdd() {
    // The rows are never sorted, so a row's index is its place in m_rows.
    const int row = ListView_GetNextItem(Item(IDC_LAN_LIST), -1, LVNI_SELECTED);
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size()) {
        ShowMessage(Handle(), texts::kSelectOneDevice, m_languageId);
        return;
    }
    m_addDevice(Handle(), AddFormForLanDevice(m_rows[static_cast<std::size_t>(row)]));
    MarkRows();
}

void CLanDevicesDlg::OnClickedAddAllNew() {
    const std::vector<LanDeviceRow> newDevices = NewDevices(m_rows, m_book);
    if (!newDevices.empty()) {
        m_addNewDevices(Handle(), newDevices);
    }
    MarkRows();
}
