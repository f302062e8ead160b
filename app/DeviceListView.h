// The main window's device list (control 1000): a virtual list (owner data) of four columns,
// one row per device table entry that the filter keeps, texts exactly as stored in the records
// (ANSI). The list asks for each cell's text as it paints (OnGetDispInfo), so rows cost
// nothing until they are seen. Each row stands for the table index of its record
// (DeviceRows), so it finds its record whatever its text reads back as (a name the code page
// cannot round-trip) and whatever its position. Once a check has run, a fifth column shows
// each device's status.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/DeviceTable.h"
#include "app/DeviceRows.h"
#include "app/SortRules.h"
#include "texts/Language.h"

class DeviceListView {
public:
    DeviceListView();  // no rows, until Fill

    // The list must have been created with LVS_OWNERDATA.
    void Attach(HWND list) { m_hWnd = list; }
    HWND Handle() const { return m_hWnd; }

    // Report view with grid lines and full-row selection, and the four columns sized from
    // the current client width.
    void SetUpColumns(Language languageId);

    // Sets the four column widths to their shares of the current client width.
    void ResizeColumns();

    // Where the status column takes a record's text from (by table index), from start-up on.
    using StatusText = std::function<const wchar_t*(std::size_t record)>;
    void SetStatusText(StatusText statusText) { m_statusText = std::move(statusText); }

    // The status column, after the four, with this header: added the first time, the four
    // then giving it a share of their widths; its header changed every later time.
    void ShowStatusColumn(const wchar_t* header);

    // The status cells show what StatusText says now: of one row, or of every row.
    void RefreshStatus(int row);
    void RefreshStatuses();

    // Shows the table in place of whatever the list showed: one row per entry that the filter
    // keeps, in table order, no row selected, no sort arrow. The list reads the table from
    // now on, so it must outlive the list or be filled anew; every change to it is told below.
    void Fill(const DeviceTable& table);

    // After the table's last entry was appended: its row comes after all rows, even when the
    // list is sorted.
    void RecordAppended();

    // After an entry was changed: its row shows it anew, or goes when the filter no longer
    // keeps it.
    void RecordChanged();

    // After the entries at these indexes (ascending) were removed from the table: their rows
    // go, and no row is selected.
    void RecordsRemoved(std::span<const std::size_t> removed);

    // Sorts the rows (never the table) by a column after a header click, and shows the
    // order in that column's header. Selected rows stay selected.
    void SortByColumn(int column, SortState& state);

    // Shows only the rows whose name, IP, port or UUID hold the typed text (ANSI; nothing: a
    // text the code page cannot spell, which no row holds), in the order of the last sort.
    // Selected rows that stay shown stay selected; with none of them left, the first row is
    // selected, so that Enter takes it.
    void Filter(std::optional<std::string> typed);

    // The list's questions: a cell's text (LVN_GETDISPINFOW) and the row whose name starts
    // with what the user typed on the list (LVN_ODFINDITEMW), as its notification result.
    LRESULT OnGetDispInfo(NMHDR* header) const;
    LRESULT OnFindItem(NMHDR* header) const;

    // Selects that row alone, with the focus, and scrolls it into view.
    void SelectOnly(int row);

    // The first selected row, or -1.
    int FirstSelectedRow() const;
    // Every selected row, top to bottom.
    std::vector<int> SelectedRows() const;

    // The text of a row's cell as the list control gives it (at most 127 bytes).
    std::string CellText(int row, int column) const;

    // The table entry a row shows; nothing for no row.
    std::optional<std::size_t> RecordOfRow(int row) const;

    // The row that shows the table entry at that index; nothing when no row does.
    std::optional<int> RowOfRecord(std::size_t index) const;

    int RowCount() const;
    int ClientWidth() const;

private:
    // The one place a cell's text comes from: what a column shows of the entry at that index.
    std::string_view TextOf(std::size_t record, int column) const;

    // The entries of the selected rows and of the focused row (by table index), taken off
    // the list; Reselect gives them back to the rows that show those entries now.
    struct Selection {
        std::vector<bool> selected;
        std::optional<std::size_t> focused;
    };
    Selection TakeSelection();
    void Reselect(const Selection& taken);
    // Runs a change of the rows that keeps the table's indexes, then shows the rows with the
    // same entries selected as before.
    template <class Change>
    void KeepingSelection(Change change);
    // Runs a change with the list's drawing held off, then has the list repainted whole.
    template <class Change>
    void Redrawn(Change change);
    // Gives the list the number of rows.
    void ShowRows();

    HWND m_hWnd = nullptr;
    bool m_statusShown = false;
    StatusText m_statusText;
    const DeviceTable* m_table;  // never null
    DeviceRows m_rows;
};
