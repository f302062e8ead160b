// The list-view chores every list of ours shares: report columns with their headers and
// widths, rows of narrow texts (bytes of the ANSI code page, shown as such), a cell read back.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <span>
#include <string>

namespace ui {

// Report view with grid lines and full-row selection, and one column per header, left
// aligned, with the width (pixels) of the same place.
void SetUpColumns(HWND list, std::span<const wchar_t* const> headers, std::span<const int> widths);

// Inserts one left-aligned column at that place, with its header and width (pixels).
void InsertColumn(HWND list, int at, const wchar_t* header, int width);

// Changes the header text of a column.
void SetColumnHeader(HWND list, int column, const wchar_t* header);

// Sets the widths (pixels) of the first columns, one per width.
void SetColumnWidths(HWND list, std::span<const int> widths);

// The width of the list's client area, in pixels.
int ClientWidth(HWND list);

// Inserts a row at that place with the texts of its first columns (at least one) and the item
// data; returns the row it got, or -1.
int InsertRow(HWND list, int at, std::initializer_list<const char*> texts, LPARAM data = 0);

// Writes the texts of a row's first columns.
void SetRowTexts(HWND list, int row, std::initializer_list<const char*> texts);

// Writes one cell with a text of the interface (UTF-16), not of the records.
void SetCellText(HWND list, int row, int column, const wchar_t* text);

// The text of a row's cell, as the list holds it (at most 127 bytes).
std::string CellText(HWND list, int row, int column);

}  // namespace ui
