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

bool MakeFolder(const std::string& folder) {
    const std::wstring wide = WidePath(folder);
    if (CreateDirectoryW(wide.c_str(), nullptr)) {
        return true;
    }
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
    return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const std::string& path) {
    return DeleteFileW(WidePath(path).c_str()) != 0;
}
