#include "app/LanDevicesDlg.h"

#include <commctrl.h>

#include <array>
#include <utility>

#include "resources/resource.h"
#include "texts/FormatText.h"
#include "texts/Messages.h"
#include "texts/Texts.h"

namespace {

// The search runs on the worker's thread and tells no window when it ends: look every so often.
constexpr UINT_PTR kPollTimerId = 1;
constexpr UINT kPollIntervalMs = 250;

struct LanColumn {
    const UiText& header;
    int percentOfWidth;
};

const std::array<LanColumn, 4> kColumns{{
    {texts::kLanNameColumn, 34},
    {texts::kLanIpColumn, 26},
    {texts::kLanPortColumn, 12},
    {texts::kLanMacColumn, 28},
}};

void SetCellText(HWND list, int row, int column, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

std::span<const ui::MessageEntry<CLanDevicesDlg>> CLanDevicesDlg::MessageTable() {
    using D = CLanDevicesDlg;
    static const ui::MessageEntry<D> table[] = {
        ui::OnMessage<D>(WM_TIMER, &D::OnTimer),
        ui::OnMessage<D>(WM_DESTROY, &D::OnDestroy),
        ui::OnCommand<D>(IDC_LAN_SEARCH_AGAIN, BN_CLICKED, &D::OnClickedSearchAgain),
        ui::OnCommand<D>(IDC_LAN_ADD, BN_CLICKED, &D::OnClickedAdd),
    };
    return table;
}

CLanDevicesDlg::CLanDevicesDlg(HINSTANCE instance, CDiscoveryWorker& discovery, Language languageId,
                               AddDevice addDevice)
    : TableDialog(instance, IDD_LAN_DEVICES),
      m_discovery(discovery),
      m_languageId(languageId),
      m_addDevice(std::move(addDevice)) {}

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
        {IDCANCEL, texts::kLanClose},
    };
    for (const auto& [id, text] : controls) {
        SetDlgItemTextW(Handle(), id, InLanguage(text, m_languageId));
    }
}

void CLanDevicesDlg::SetUpColumns() {
    const HWND list = Item(IDC_LAN_LIST);
    RECT client{};
    GetClientRect(list, &client);
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = client.right * kColumns[i].percentOfWidth / 100;
        column.pszText = const_cast<wchar_t*>(InLanguage(kColumns[i].header, m_languageId));
        column.iSubItem = static_cast<int>(i);
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
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
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(row.name.c_str());
        const int index = static_cast<int>(
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        SetCellText(list, index, 1, row.ipAddress);
        SetCellText(list, index, 2, row.port);
        SetCellText(list, index, 3, row.macAddress);
    }
    if (!m_rows.empty()) {
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
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
    m_discovery.Start();
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
}
