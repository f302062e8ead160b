#include "app/DeviceListView.h"

#include <commctrl.h>

#include <algorithm>

#include "app/ListColumns.h"
#include "app/SortArrow.h"
#include "base/AnsiCodePage.h"
#include "base/AnsiText_win32.h"
#include "ui/ListView.h"

namespace {

// The status column comes after the book's four.
constexpr int kStatusColumnIndex = static_cast<int>(kListColumns.size());

const DeviceTable& NoDevices() {
    static const DeviceTable none;
    return none;
}

}  // namespace

DeviceListView::DeviceListView() : m_table(&NoDevices()) {}

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
    ui::SetColumnWidths(m_hWnd, m_statusShown ? ColumnWidthsFor(kCheckedListColumns, ClientWidth())
                                              : ColumnWidthsFor(kListColumns, ClientWidth()));
}

void DeviceListView::ShowStatusColumn(const wchar_t* header) {
    if (m_statusShown) {
        ui::SetColumnHeader(m_hWnd, kStatusColumnIndex, header);
        return;
    }
    ui::InsertColumn(m_hWnd, kStatusColumnIndex, header, 0);
    m_statusShown = true;
    ResizeColumns();
}

void DeviceListView::RefreshStatus(int row) {
    ListView_RedrawItems(m_hWnd, row, row);
}

void DeviceListView::RefreshStatuses() {
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

std::string_view DeviceListView::TextOf(std::size_t record, int column) const {
    return DeviceColumnText(m_table->At(record), column);
}

// Row by row: the list's own way to clear every row's state walks all of them, a whole book's
// worth.
DeviceListView::Selection DeviceListView::TakeSelection() {
    Selection taken;
    taken.selected.resize(m_table->Count());
    for (const int row : SelectedRows()) {
        if (const std::optional<std::size_t> record = RecordOfRow(row)) {
            taken.selected[*record] = true;
        }
        ListView_SetItemState(m_hWnd, row, 0, LVIS_SELECTED);
    }
    const int focused = ListView_GetNextItem(m_hWnd, -1, LVNI_FOCUSED);
    taken.focused = RecordOfRow(focused);
    if (focused >= 0) {
        ListView_SetItemState(m_hWnd, focused, 0, LVIS_FOCUSED);
    }
    return taken;
}

void DeviceListView::Reselect(const Selection& taken) {
    if (std::find(taken.selected.begin(), taken.selected.end(), true) != taken.selected.end()) {
        for (std::size_t row = 0; row < m_rows.Count(); ++row) {
            const std::size_t record = m_rows.RecordAt(row);
            if (record < taken.selected.size() && taken.selected[record]) {
                ListView_SetItemState(m_hWnd, static_cast<int>(row), LVIS_SELECTED, LVIS_SELECTED);
            }
        }
    }
    if (const std::optional<int> row = taken.focused ? RowOfRecord(*taken.focused) : std::nullopt) {
        ListView_SetItemState(m_hWnd, *row, LVIS_FOCUSED, LVIS_FOCUSED);
    }
}

template <class Change>
void DeviceListView::KeepingSelection(Change change) {
    const Selection taken = TakeSelection();
    change();
    ShowRows();
    Reselect(taken);
}

// Each state change and count the list draws at once, which under a slow display costs more
// than the change: held off, they make one paint. The window's own redraw switch, not the
// list's: the list answers its switch turned back on by setting its scroll bar again, and
// draws it there and then, which under Wine costs tens of milliseconds a keystroke. Hidden from
// drawing, the list still keeps its scroll bar's range, and the bar is drawn with the rows.
template <class Change>
void DeviceListView::Redrawn(Change change) {
    DefWindowProcW(m_hWnd, WM_SETREDRAW, FALSE, 0);
    change();
    DefWindowProcW(m_hWnd, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(m_hWnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void DeviceListView::ShowRows() {
    const int rows = static_cast<int>(m_rows.Count());
    if (RowCount() != rows) {
        ListView_SetItemCountEx(m_hWnd, rows, LVSICF_NOSCROLL);
    }
}

void DeviceListView::Fill(const DeviceTable& table) {
    Redrawn([&] {
        TakeSelection();
        m_table = &table;
        m_rows.Reset(table, SystemCodePage());
        ShowRows();
    });
    // The rows are in table order, sorted by nothing.
    ShowSortArrow(m_hWnd, std::nullopt, false);
}

void DeviceListView::RecordAppended() {
    // Rows before it keep their places, and with them their selection.
    Redrawn([this] {
        m_rows.AppendLast(*m_table, SystemCodePage());
        ShowRows();
    });
}

void DeviceListView::RecordChanged() {
    Redrawn(
        [this] { KeepingSelection([this] { m_rows.RecordChanged(*m_table, SystemCodePage()); }); });
}

void DeviceListView::RecordsRemoved(std::span<const std::size_t> removed) {
    Redrawn([&] {
        TakeSelection();
        m_rows.Remove(removed);
        ShowRows();
    });
}

void DeviceListView::SortByColumn(int column, SortState& state) {
    if (column >= kStatusColumnIndex) {
        return;  // the statuses are a check's findings, not the book's: they do not sort it
    }
    UpdateSortState(state, column);
    std::vector<std::string_view> keys(m_table->Count());
    for (std::size_t record = 0; record < keys.size(); ++record) {
        keys[record] = TextOf(record, column);
    }
    Redrawn([&] {
        KeepingSelection(
            [&] { m_rows.Sort(keys, column == kPortColumnIndex, state, SystemCodePage()); });
    });
    ShowSortArrow(m_hWnd, column, state.descending);
}

void DeviceListView::Filter(std::optional<std::string> typed) {
    Redrawn([&] {
        KeepingSelection([&] { m_rows.Filter(std::move(typed), *m_table, SystemCodePage()); });
        int row = FirstSelectedRow();
        if (row < 0 && RowCount() > 0) {
            row = 0;
            ListView_SetItemState(m_hWnd, row, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
        }
        if (row >= 0) {
            ListView_EnsureVisible(m_hWnd, row, FALSE);
        }
    });
}

LRESULT DeviceListView::OnGetDispInfo(NMHDR* header) const {
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
    if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) {
        return 0;
    }
    item.pszText[0] = L'\0';
    const std::optional<std::size_t> record = RecordOfRow(item.iItem);
    if (!record) {
        return 0;
    }
    const std::wstring text = item.iSubItem == kStatusColumnIndex
                                  ? std::wstring(m_statusText ? m_statusText(*record) : L"")
                                  : ShownText(TextOf(*record, item.iSubItem));
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
    std::copy_n(text.begin(), length, item.pszText);
    item.pszText[length] = L'\0';
    return 0;
}

// As the list finds a row itself when its rows hold their own texts: the next row, from the
// one it names and round to the top, whose name starts with the typed letters in any case.
LRESULT DeviceListView::OnFindItem(NMHDR* header) const {
    const auto* find = reinterpret_cast<const NMLVFINDITEMW*>(header);
    const int rows = static_cast<int>(m_rows.Count());
    if ((find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || find->lvfi.psz == nullptr ||
        rows == 0) {
        return -1;
    }
    const std::wstring_view typed(find->lvfi.psz);
    const bool partial = (find->lvfi.flags & LVFI_PARTIAL) != 0;
    const int start = std::clamp(find->iStart, 0, rows - 1);
    const int looked = (find->lvfi.flags & LVFI_WRAP) != 0 ? rows : rows - start;
    for (int step = 0; step < looked; ++step) {
        const int row = (start + step) % rows;
        const std::optional<std::size_t> record = RecordOfRow(row);
        std::wstring name = record ? ShownText(TextOf(*record, 0)) : std::wstring();
        if (partial && name.size() > typed.size()) {
            name.resize(typed.size());
        }
        if (CompareStringOrdinal(name.data(), static_cast<int>(name.size()), typed.data(),
                                 static_cast<int>(typed.size()), TRUE) == CSTR_EQUAL) {
            return row;
        }
    }
    return -1;
}

void DeviceListView::SelectOnly(int row) {
    for (const int selected : SelectedRows()) {
        ListView_SetItemState(m_hWnd, selected, 0, LVIS_SELECTED);
    }
    ListView_SetItemState(m_hWnd, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(m_hWnd, row, FALSE);
}

int DeviceListView::FirstSelectedRow() const {
    return ListView_GetNextItem(m_hWnd, -1, LVNI_SELECTED);
}

std::vector<int> DeviceListView::SelectedRows() const {
    std::vector<int> rows;
    for (int row = FirstSelectedRow(); row >= 0;
         row = ListView_GetNextItem(m_hWnd, row, LVNI_SELECTED)) {
        rows.push_back(row);
    }
    return rows;
}

std::string DeviceListView::CellText(int row, int column) const {
    return ui::CellText(m_hWnd, row, column);
}

std::optional<std::size_t> DeviceListView::RecordOfRow(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.Count()) {
        return std::nullopt;
    }
    // Should a row ever not lead to a record, it shows and finds nothing.
    const std::size_t record = m_rows.RecordAt(static_cast<std::size_t>(row));
    if (record >= m_table->Count()) {
        return std::nullopt;
    }
    return record;
}

std::optional<int> DeviceListView::RowOfRecord(std::size_t index) const {
    const std::optional<std::size_t> row = m_rows.RowOf(index);
    if (!row) {
        return std::nullopt;
    }
    return static_cast<int>(*row);
}
