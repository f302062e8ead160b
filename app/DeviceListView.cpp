#include "app/DeviceListView.h"

#include <commctrl.h>

#include <vector>

#include "app/ListColumns.h"
#include "app/SortArrow.h"
#include "base/AnsiCodePage.h"
#include "base/FixedText.h"

namespace {

void SetCellText(HWND list, int row, int column, const char* text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// What the list control's sort hands each comparison: the copied texts of the clicked column
// by the rows' record indexes (their item data) and how to compare them.
struct SortContext {
    const std::vector<std::string>* texts;
    const SortState* state;
    bool byNumber;
    const AnsiCodePage* codePage;
};

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM context) {
    const auto& sort = *reinterpret_cast<const SortContext*>(context);
    const std::string& a = (*sort.texts)[static_cast<std::size_t>(first)];
    const std::string& b = (*sort.texts)[static_cast<std::size_t>(second)];
    if (sort.byNumber) {
        return ComparePortColumn(a, b, *sort.state);
    }
    return CompareTextColumn(a, b, *sort.state, *sort.codePage);
}

}  // namespace

int DeviceListView::ClientWidth() const {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    return client.right - client.left;
}

int DeviceListView::RowCount() const {
    return static_cast<int>(SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0));
}

void DeviceListView::SetUpColumns(Language languageId) {
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

void DeviceListView::ResizeColumns() {
    const std::array<int, 4> widths = ColumnWidthsFor(ClientWidth());
    for (std::size_t i = 0; i < widths.size(); ++i) {
        SendMessageW(m_hWnd, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(widths[i], 0));
    }
}

void DeviceListView::Fill(const DeviceTable& table) {
    SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
    for (std::size_t i = 0; i < table.Count(); ++i) {
        AppendRow(table.At(i), i);
    }
    SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
}

void DeviceListView::AppendRow(const DeviceRecord& record, std::size_t index) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = RowCount();
    item.pszText = const_cast<char*>(record.name);
    item.lParam = static_cast<LPARAM>(index);
    const int row =
        static_cast<int>(SendMessageA(m_hWnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    SetRowFromDevice(row, record);
}

void DeviceListView::DeleteRow(int row) {
    const std::size_t removed = RecordIndex(row);
    SendMessageW(m_hWnd, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
    for (int other = 0; other < RowCount(); ++other) {
        const std::size_t index = RecordIndex(other);
        if (index > removed) {
            SetRecordIndex(other, index - 1);
        }
    }
}

std::size_t DeviceListView::RecordIndex(int row) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageW(m_hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<std::size_t>(item.lParam);
}

void DeviceListView::SetRecordIndex(int row, std::size_t index) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = static_cast<LPARAM>(index);
    SendMessageW(m_hWnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void DeviceListView::Clear() {
    SendMessageW(m_hWnd, LVM_DELETEALLITEMS, 0, 0);
    // The rows that come next are in table order, sorted by nothing.
    ShowSortArrow(m_hWnd, std::nullopt, false);
}

void DeviceListView::SetRowFromDevice(int row, const DeviceRecord& record) {
    SetCellText(m_hWnd, row, 0, record.name);
    SetCellText(m_hWnd, row, 1, record.serverIp);
    SetCellText(m_hWnd, row, 2, record.serverPort);
    SetCellText(m_hWnd, row, 3, record.uuid);
}

void DeviceListView::SortByColumn(int column, SortState& state) {
    // One repaint at the end instead of one per row whose value changes.
    SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
    const int rows = RowCount();
    // One row per record, so the record indexes are 0 to rows - 1.
    std::vector<std::string> texts(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        const std::size_t index = RecordIndex(row);
        if (index >= texts.size()) {
            texts.resize(index + 1);
        }
        texts[index] = CellText(row, column);
    }
    UpdateSortState(state, column);
    SortContext context{&texts, &state, column == kPortColumn, &SystemCodePage()};
    SendMessageW(m_hWnd, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context),
                 reinterpret_cast<LPARAM>(&CompareRows));
    SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    ShowSortArrow(m_hWnd, column, state.descending);
}

int DeviceListView::FirstSelectedRow() const {
    return static_cast<int>(
        SendMessageW(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::string DeviceListView::CellText(int row, int column) const {
    char text[128] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(m_hWnd, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    return std::string(FieldText(text));
}

std::optional<std::size_t> DeviceListView::RecordOfRow(int row, const DeviceTable& table) const {
    if (row < 0 || row >= RowCount()) {
        return std::nullopt;
    }
    const std::size_t index = RecordIndex(row);
    if (index >= table.Count()) {
        return std::nullopt;
    }
    return index;
}

std::optional<int> DeviceListView::RowOfRecord(std::size_t index) const {
    LVFINDINFOW find{};
    find.flags = LVFI_PARAM;
    find.lParam = static_cast<LPARAM>(index);
    const int row = static_cast<int>(SendMessageW(m_hWnd, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                                  reinterpret_cast<LPARAM>(&find)));
    if (row < 0) {
        return std::nullopt;
    }
    return row;
}
