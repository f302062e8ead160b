#include "app/DeviceListView.h"

#include <commctrl.h>

#include <vector>

#include "app/ListColumns.h"
#include "app/SortArrow.h"
#include "base/AnsiCodePage.h"
#include "ui/ListView.h"

namespace {

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
    return ui::ClientWidth(m_hWnd);
}

int DeviceListView::RowCount() const {
    return static_cast<int>(SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0));
}

void DeviceListView::SetUpColumns(Language languageId) {
    ui::SetUpColumns(m_hWnd, ColumnHeaders(kListColumns, languageId),
                     ColumnWidthsFor(kListColumns, ClientWidth()));
}

void DeviceListView::ResizeColumns() {
    ui::SetColumnWidths(m_hWnd, ColumnWidthsFor(kListColumns, ClientWidth()));
}

void DeviceListView::Fill(const DeviceTable& table) {
    SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
    for (std::size_t i = 0; i < table.Count(); ++i) {
        AppendRow(table.At(i), i);
    }
    SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
}

void DeviceListView::AppendRow(const DeviceRecord& record, std::size_t index) {
    ui::InsertRow(m_hWnd, RowCount(),
                  {record.name, record.serverIp, record.serverPort, record.uuid},
                  static_cast<LPARAM>(index));
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
    ui::SetRowTexts(m_hWnd, row, {record.name, record.serverIp, record.serverPort, record.uuid});
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
    SortContext context{&texts, &state, column == kPortColumnIndex, &SystemCodePage()};
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

std::vector<int> DeviceListView::SelectedRows() const {
    std::vector<int> rows;
    for (int row = FirstSelectedRow(); row >= 0;
         row = static_cast<int>(
             SendMessageW(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) {
        rows.push_back(row);
    }
    return rows;
}

std::string DeviceListView::CellText(int row, int column) const {
    return ui::CellText(m_hWnd, row, column);
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
