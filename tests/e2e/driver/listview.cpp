#include "listview.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "args.h"
#include "remote_memory.h"
#include "window_info.h"

namespace {

constexpr int kTextChars = 1024;
constexpr int kMaxColumns = 64;

LRESULT send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
        throw NotFound("the list view did not answer");
    return static_cast<LRESULT>(result);
}

// What the list view fills in for one row, laid out in the remote block so that
// a whole row comes back in a single read: a thousand-row list otherwise takes
// seconds, each read or write being a round trip through the wineserver.
struct RowBlock {
    RECT bounds;
    WCHAR text[kMaxColumns][kTextChars];
};

class RemoteListView {
public:
    explicit RemoteListView(HWND listView)
        : listView_(listView),
          memory_(windowPid(listView), sizeof(RowBlock) + kMaxColumns * sizeof(LVITEMW)) {}

    std::vector<std::wstring> columns() {
        std::vector<std::wstring> titles;
        for (int i = 0; i < kMaxColumns; ++i) {
            LVCOLUMNW column = {};
            column.mask = LVCF_TEXT;
            column.pszText = textAddress(0);
            column.cchTextMax = kTextChars;
            memory_.write(requestOffset(0), &column, sizeof column);
            memory_.write(textOffset(0), L"", sizeof(WCHAR));
            if (!send(listView_, LVM_GETCOLUMNW, i, requestAddress(0)))
                break;
            WCHAR text[kTextChars] = {};
            memory_.read(textOffset(0), text, sizeof text - sizeof(WCHAR));
            titles.push_back(text);
        }
        return titles;
    }

    // The sort arrow each column's header shows: "up", "down" or "".
    std::vector<std::wstring> sortArrows(int columns) {
        std::vector<std::wstring> arrows;
        HWND header = reinterpret_cast<HWND>(send(listView_, LVM_GETHEADER, 0, 0));
        for (int i = 0; header && i < columns; ++i) {
            HDITEMW item = {};
            item.mask = HDI_FORMAT;
            memory_.write(requestOffset(0), &item, sizeof item);
            send(header, HDM_GETITEMW, i, requestAddress(0));
            memory_.read(requestOffset(0), &item, sizeof item);
            arrows.push_back(item.fmt & HDF_SORTUP     ? L"up"
                             : item.fmt & HDF_SORTDOWN ? L"down"
                                                       : L"");
        }
        return arrows;
    }

    // One LVITEMW per column, written once; LVM_GETITEMTEXTW takes the row
    // from wParam, so the same requests serve every row.
    void prepareCells(int cells) {
        cells_ = cells;
        for (int column = 0; column < cells; ++column) {
            LVITEMW item = {};
            item.iSubItem = column;
            item.pszText = textAddress(column);
            item.cchTextMax = kTextChars;
            memory_.write(requestOffset(column), &item, sizeof item);
        }
    }

    JsonObject row(int index) {
        RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
        memory_.write(0, &bounds, sizeof bounds);
        bool placed =
            send(listView_, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(memory_.at(0)));
        std::vector<size_t> lengths;
        for (int column = 0; column < cells_; ++column)
            lengths.push_back(send(listView_, LVM_GETITEMTEXTW, index, requestAddress(column)));
        bool selected = send(listView_, LVM_GETITEMSTATE, index, LVIS_SELECTED) & LVIS_SELECTED;

        memory_.read(0, &block_, offsetof(RowBlock, text) + cells_ * sizeof block_.text[0]);
        std::vector<std::wstring> texts;
        for (int column = 0; column < cells_; ++column)
            texts.emplace_back(block_.text[column],
                               std::min<size_t>(lengths[column], kTextChars - 1));
        // Where a person would click the row, in screen coordinates.
        RECT r = placed ? block_.bounds : RECT{};
        MapWindowPoints(listView_, nullptr, reinterpret_cast<POINT*>(&r), 2);
        JsonObject o;
        o.raw("texts", jsonStringArray(texts)).flag("selected", selected).rect("rect", r);
        return o;
    }

private:
    static size_t textOffset(int column) {
        return offsetof(RowBlock, text) + column * sizeof(RowBlock::text[0]);
    }
    static size_t requestOffset(int column) { return sizeof(RowBlock) + column * sizeof(LVITEMW); }
    WCHAR* textAddress(int column) { return static_cast<WCHAR*>(memory_.at(textOffset(column))); }
    LPARAM requestAddress(int column) {
        return reinterpret_cast<LPARAM>(memory_.at(requestOffset(column)));
    }

    HWND listView_;
    RemoteMemory memory_;
    int cells_ = 0;
    RowBlock block_;
};

}  // namespace

JsonObject readListView(HWND listView) {
    RemoteListView remote(listView);
    std::vector<std::wstring> columns = remote.columns();
    std::vector<std::wstring> arrows = remote.sortArrows(static_cast<int>(columns.size()));
    // Icon and list views have no columns but still have item texts.
    remote.prepareCells(columns.empty() ? 1 : static_cast<int>(columns.size()));
    int count = static_cast<int>(send(listView, LVM_GETITEMCOUNT, 0, 0));
    std::vector<std::string> rows;
    for (int row = 0; row < count; ++row)
        rows.push_back(remote.row(row).encoded());
    JsonObject o;
    o.hwnd("hwnd", listView)
        .raw("columns", jsonStringArray(columns))
        .raw("sort", jsonStringArray(arrows))
        .raw("rows", jsonArray(rows));
    return o;
}

void selectListViewRow(HWND listView, int row) {
    RemoteMemory memory(windowPid(listView), sizeof(LVITEMW));
    for (auto [index, state] : {std::pair<int, UINT>{-1, 0}, {row, LVIS_SELECTED | LVIS_FOCUSED}}) {
        LVITEMW item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = state;
        memory.write(0, &item, sizeof item);
        send(listView, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(memory.at(0)));
    }
}
