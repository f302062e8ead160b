#include "app/TransferPickers.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>

#include "base/WidePath.h"

namespace {

// The pickers read the same in both languages.
constexpr wchar_t kFolderPickerTitle[] = L"Select folder";
constexpr wchar_t kFilePickerTitle[] = L"Select File";
constexpr wchar_t kFilePickerFilters[] = L"all files\0*.*\0ini files\0*.ini\0";
constexpr DWORD kIniFilesFilter = 2;

// The picker structure of the shipped 32-bit program, with the members of Windows 2000 on.
static_assert(sizeof(OPENFILENAMEW) == 88);

// The shell needs COM on the thread that shows its folder picker.
class ComApartment {
public:
    ComApartment() : m_initialized(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (m_initialized) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool m_initialized;
};

// Item identifiers come from the shell's allocator, which is the COM task allocator.
struct ShellFree {
    void operator()(ITEMIDLIST* item) const { CoTaskMemFree(item); }
};
using ItemIdList = std::unique_ptr<ITEMIDLIST, ShellFree>;

// A picked path as the file calls take it; nothing for none.
std::optional<std::string> PathText(const wchar_t* path) {
    std::string text = Utf8Path(path);
    if (text.empty()) {
        return std::nullopt;
    }
    return text;
}

}  // namespace

std::optional<std::string> PickExportFolder(HWND owner) {
    const ComApartment com;
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = kFolderPickerTitle;
    const ItemIdList item(SHBrowseForFolderW(&browse));
    if (!item) {
        return std::nullopt;
    }
    wchar_t folder[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(item.get(), folder)) {
        return std::nullopt;
    }
    return PathText(folder);
}

std::optional<std::string> PickImportFile(HWND owner) {
    wchar_t file[kTransferPathSize] = {};
    OPENFILENAMEW picker{};
    picker.lStructSize = sizeof picker;
    picker.hwndOwner = owner;
    picker.lpstrFilter = kFilePickerFilters;
    picker.nFilterIndex = kIniFilesFilter;
    picker.lpstrFile = file;
    picker.nMaxFile = kTransferPathSize;
    picker.lpstrTitle = kFilePickerTitle;
    picker.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT;
    if (!GetOpenFileNameW(&picker)) {
        return std::nullopt;
    }
    return PathText(file);
}

bool PickExportFile(HWND owner, char (&exportFolder)[kTransferPathSize],
                    char (&transferPath)[kTransferPathSize]) {
    const std::optional<std::string> folder = PickExportFolder(owner);
    return folder && StoreTransferPath(exportFolder, *folder) &&
           StoreTransferPath(transferPath, ExportFilePath(*folder));
}

bool IsSameFilePath(std::string_view first, std::string_view second) {
    const auto spelled = [](std::string_view path) {
        std::wstring wide = WidePath(path);
        std::replace(wide.begin(), wide.end(), L'/', L'\\');
        return wide;
    };
    const std::wstring a = spelled(first);
    const std::wstring b = spelled(second);
    // Ordinal, as the file system folds case: no language's rules for letters.
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool ImportThroughPicker(HWND owner, DeviceTable& table, char (&transferPath)[kTransferPathSize]) {
    const std::optional<std::string> file = PickImportFile(owner);
    return file && StoreTransferPath(transferPath, *file) && ImportAddressBook(transferPath, table);
}
