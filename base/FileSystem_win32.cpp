#include "base/FileSystem.h"

#include <windows.h>

#include "base/WidePath.h"

std::vector<std::string> NamesInFolder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE listing = FindFirstFileW(WidePath(folder + "*").c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(Utf8Path(name));
        }
    } while (FindNextFileW(listing, &found));
    FindClose(listing);
    return names;
}

bool RemoveFile(const std::string& path) {
    return DeleteFileW(WidePath(path).c_str()) != 0;
}
