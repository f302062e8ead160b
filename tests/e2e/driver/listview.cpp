#include "listview.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "args.h"
#include "remote_memory.h"
#include "window_info.h"

namespace {

constexpr int kTextChars = 1024;
constexpr int kMaxColumns = 64;
// Layout of the remote block: the request structure, then the text buffer.
constexpr size_t kTextOffset = 256;
static_assert(sizeof(LVITEMW) <= kTextOffset && sizeof(LVCOLUMNW) <= kTextOffset);

LRESULT send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
        throw NotFound("the list view did not answer");
    return static_cast<LRESULT>(result);
}

std::wstring readText(const RemoteMemory& memory) {
    wchar_t text[kTextChars] = {};
    memory.read(kTextOffset, text, sizeof text - sizeof(wchar_t));
    return text;
}

std::vector<std::wstring> columnTitles(HWND listView, RemoteMemory& memory) {
    std::vector<std::wstring> titles;
    for (int i = 0; i < kMaxColumns; ++i) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT;
        column.pszText = static_cast<wchar_t*>(memory.at(kTextOffset));
        column.cchTextMax = kTextChars;
        memory.write(0, &column, sizeof column);
        memory.write(kTextOffset, L"", sizeof(wchar_t));
        if (!send(listView, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(memory.at(0)))) break;
        titles.push_back(readText(memory));
    }
    return titles;
}

std::wstring cellText(HWND listView, RemoteMemory& memory, int row, int column) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = static_cast<wchar_t*>(memory.at(kTextOffset));
    item.cchTextMax = kTextChars;
    memory.write(0, &item, sizeof item);
    memory.write(kTextOffset, L"", sizeof(wchar_t));
    send(listView, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(memory.at(0)));
    return readText(memory);
}

// Where a person would click the row, in screen coordinates.
RECT rowRect(HWND listView, RemoteMemory& memory, int row) {
    RECT r = {};
    r.left = LVIR_BOUNDS;
    memory.write(0, &r, sizeof r);
    if (send(listView, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(memory.at(0))))
        memory.read(0, &r, sizeof r);
    else
        r = RECT{};
    MapWindowPoints(listView, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

JsonObject readListView(HWND listView) {
    RemoteMemory memory(windowPid(listView), kTextOffset + kTextChars * sizeof(wchar_t));
    std::vector<std::wstring> columns = columnTitles(listView, memory);
    // Icon and list views have no columns but still have item texts.
    size_t cells = columns.empty() ? 1 : columns.size();
    int count = static_cast<int>(send(listView, LVM_GETITEMCOUNT, 0, 0));

    std::vector<std::string> rows;
    for (int row = 0; row < count; ++row) {
        std::vector<std::wstring> texts;
        for (size_t column = 0; column < cells; ++column)
            texts.push_back(cellText(listView, memory, row, static_cast<int>(column)));
        bool selected = send(listView, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED;
        rows.push_back(JsonObject()
                           .raw("texts", jsonStringArray(texts))
                           .flag("selected", selected)
                           .rect("rect", rowRect(listView, memory, row))
                           .encoded());
    }
    JsonObject o;
    o.hwnd("hwnd", listView).raw("columns", jsonStringArray(columns)).raw("rows", jsonArray(rows));
    return o;
}
