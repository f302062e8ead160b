// The main window's device list (control 1000): one row per device table entry, four
// columns, texts exactly as stored in the records (ANSI). Rows may be sorted; each row carries
// the table index of its record as its item data, so it finds its record whatever its text
// reads back as (a name the code page cannot round-trip) and whatever its position.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "addressbook/DeviceTable.h"
#include "app/SortRules.h"
#include "texts/Language.h"

class DeviceListView {
public:
    void Attach(HWND list) { m_hWnd = list; }
    HWND Handle() const { return m_hWnd; }

    // Report view with grid lines and full-row selection, and the four columns sized from
    // the current client width.
    void SetUpColumns(Language languageId);

    // Sets the four column widths to their shares of the current client width.
    void ResizeColumns();

    // Appends one row per table entry, in table order, to the empty list.
    void Fill(const DeviceTable& table);

    // Writes the four texts of a row from a record.
    void SetRowFromDevice(int row, const DeviceRecord& record);

    // Adds a row for the record at that table index at the end, after all rows even when the
    // list is sorted.
    void AppendRow(const DeviceRecord& record, std::size_t index);

    // Deletes a row whose record the caller removes from the table: the rows of the records
    // after it follow them down one index.
    void DeleteRow(int row);

    // Deletes every row and takes the sort arrow off the header.
    void Clear();

    // Sorts the rows (never the table) by a column after a header click, and shows the
    // order in that column's header.
    void SortByColumn(int column, SortState& state);

    // The first selected row, or -1.
    int FirstSelectedRow() const;
    // Every selected row, top to bottom.
    std::vector<int> SelectedRows() const;

    // The text of a row's cell, as the list holds it (at most 127 bytes).
    std::string CellText(int row, int column) const;

    // The table entry a row shows; nothing for no row.
    std::optional<std::size_t> RecordOfRow(int row, const DeviceTable& table) const;

    // The row that shows the table entry at that index; nothing when no row does.
    std::optional<int> RowOfRecord(std::size_t index) const;

    int RowCount() const;
    int ClientWidth() const;

private:
    std::size_t RecordIndex(int row) const;
    void SetRecordIndex(int row, std::size_t index);

    HWND m_hWnd = nullptr;
};
