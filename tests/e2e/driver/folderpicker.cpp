#include "folderpicker.h"

#include <commctrl.h>
#include <shlobj.h>

#include "args.h"
#include "remote_memory.h"
#include "window_info.h"

namespace {

constexpr int kTextChars = MAX_PATH;

LRESULT send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
        throw NotFound("the folder picker did not answer");
    return static_cast<LRESULT>(result);
}

BOOL CALLBACK findTree(HWND child, LPARAM found) {
    if (className(child) != WC_TREEVIEWW)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

std::wstring lastComponent(const std::wstring& path) {
    std::wstring trimmed = path.substr(0, path.find_last_not_of(L'\\') + 1);
    return trimmed.substr(trimmed.find_last_of(L'\\') + 1);
}

// The picker's path and the tree's text requests live in its process: the path first, then
// a TVITEMW and the text it points to.
class RemoteSelection {
public:
    RemoteSelection(HWND picker, const std::wstring& path)
        : memory_(windowPid(picker),
                  pathBytes(path) + sizeof(TVITEMW) + kTextChars * sizeof(WCHAR)),
          itemOffset_(pathBytes(path)),
          textOffset_(itemOffset_ + sizeof(TVITEMW)) {
        memory_.write(0, path.c_str(), pathBytes(path));
    }

    LPARAM path() const { return reinterpret_cast<LPARAM>(memory_.at(0)); }

    std::wstring selectedText(HWND tree) {
        LPARAM item = send(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
        if (!item)
            return L"";
        TVITEMW request = {};
        request.mask = TVIF_TEXT;
        request.hItem = reinterpret_cast<HTREEITEM>(item);
        request.pszText = static_cast<LPWSTR>(memory_.at(textOffset_));
        request.cchTextMax = kTextChars;
        memory_.write(itemOffset_, &request, sizeof request);
        memory_.write(textOffset_, L"", sizeof(WCHAR));
        send(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(memory_.at(itemOffset_)));
        WCHAR text[kTextChars] = {};
        memory_.read(textOffset_, text, sizeof text - sizeof(WCHAR));
        return text;
    }

private:
    static size_t pathBytes(const std::wstring& path) { return (path.size() + 1) * sizeof(WCHAR); }

    RemoteMemory memory_;
    size_t itemOffset_;
    size_t textOffset_;
};

}  // namespace

JsonObject selectFolder(HWND picker, const std::wstring& path, DWORD timeoutMs) {
    HWND tree = nullptr;
    EnumChildWindows(picker, findTree, reinterpret_cast<LPARAM>(&tree));
    if (!tree)
        throw NotFound("the window has no folder tree");
    RemoteSelection selection(picker, path);
    const std::wstring wanted = lastComponent(path);
    // The picker may still be filling its tree when it first shows, and then drops the
    // selection: ask again until the tree shows the folder chosen.
    DWORD start = GetTickCount();
    std::wstring selected;
    do {
        send(picker, BFFM_SETSELECTIONW, TRUE, selection.path());
        selected = selection.selectedText(tree);
        if (CompareStringOrdinal(selected.c_str(), -1, wanted.c_str(), -1, TRUE) == CSTR_EQUAL)
            return JsonObject().str("selected", selected);
        Sleep(200);
    } while (GetTickCount() - start < timeoutMs);
    throw NotFound("the folder picker did not select the folder");
}
