#include "ui/ListView.h"

#include <commctrl.h>

#include "base/FixedText.h"

namespace ui {

namespace {

void SetCellText(HWND list, int row, int column, const char* text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void InsertColumn(HWND list, int at, const wchar_t* header, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(header);
    column.iSubItem = at;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(at),
                 reinterpret_cast<LPARAM>(&column));
}

void SetColumnHeader(HWND list, int column, const wchar_t* header) {
    LVCOLUMNW changed{};
    changed.mask = LVCF_TEXT;
    changed.pszText = const_cast<wchar_t*>(header);
    SendMessageW(list, LVM_SETCOLUMNW, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&changed));
}

void SetUpColumns(HWND list, std::span<const wchar_t* const> headers, std::span<const int> widths) {
    for (std::size_t i = 0; i < headers.size() && i < widths.size(); ++i) {
        InsertColumn(list, static_cast<int>(i), headers[i], widths[i]);
    }
    SetWindowLongW(list, GWL_STYLE, (GetWindowLongW(list, GWL_STYLE) & ~LVS_TYPEMASK) | LVS_REPORT);
    const DWORD extended = ListView_GetExtendedListViewStyle(list);
    ListView_SetExtendedListViewStyle(list, extended | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
}

void SetColumnWidths(HWND list, std::span<const int> widths) {
    for (std::size_t i = 0; i < widths.size(); ++i) {
        SendMessageW(list, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(widths[i], 0));
    }
}

int ClientWidth(HWND list) {
    RECT client{};
    GetClientRect(list, &client);
    return client.right - client.left;
}

int InsertRow(HWND list, int at, std::initializer_list<const char*> texts, LPARAM data) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = at;
    item.pszText = const_cast<char*>(texts.size() > 0 ? *texts.begin() : "");
    item.lParam = data;
    const int row =
        static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row >= 0) {
        SetRowTexts(list, row, texts);
    }
    return row;
}

void SetRowTexts(HWND list, int row, std::initializer_list<const char*> texts) {
    int column = 0;
    for (const char* text : texts) {
        SetCellText(list, row, column++, text);
    }
}

void SetCellText(HWND list, int row, int column, const wchar_t* text) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text);
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string CellText(HWND list, int row, int column) {
    char text[128] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return std::string(FieldText(text));
}

}  // namespace ui
