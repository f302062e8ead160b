#include "app/DeviceListView.h"

#include <commctrl.h>

#include "app/ListColumns.h"

namespace {

void SetCellText(HWND list, int row, int column, const char* text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

int DeviceListView::ClientWidth() const {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    return client.right - client.left;
}

void DeviceListView::SetUpColumns(int languageId) {
    const std::array<int, 4> widths = ColumnWidthsFor(ClientWidth());
    for (std::size_t i = 0; i < kListColumns.size(); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = widths[i];
        column.pszText = const_cast<wchar_t*>(InLanguage(kListColumns[i].header, languageId));
        column.iSubItem = static_cast<int>(i);
        SendMessageW(m_hWnd, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    SetWindowLongW(m_hWnd, GWL_STYLE,
                   (GetWindowLongW(m_hWnd, GWL_STYLE) & ~LVS_TYPEMASK) | LVS_REPORT);
    const DWORD extended = ListView_GetExtendedListViewStyle(m_hWnd);
    ListView_SetExtendedListViewStyle(m_hWnd, extended | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
}

void DeviceListView::Fill(const DeviceTable& table) {
    SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
    for (std::size_t i = 0; i < table.Count(); ++i) {
        const int row = static_cast<int>(SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0));
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = row;
        item.pszText = const_cast<char*>(table.At(static_cast<std::size_t>(row)).name);
        item.lParam = 0;
        SendMessageA(m_hWnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        SetRowFromDevice(row, table.At(static_cast<std::size_t>(row)));
    }
    SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
}

void DeviceListView::SetRowFromDevice(int row, const DeviceRecord& record) {
    SetCellText(m_hWnd, row, 0, record.name);
    SetCellText(m_hWnd, row, 1, record.serverIp);
    SetCellText(m_hWnd, row, 2, record.serverPort);
    SetCellText(m_hWnd, row, 3, record.uuid);
}
