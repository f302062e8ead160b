#include "base/FileAccess.h"

#include <windows.h>

#include "base/UniqueHandle_win32.h"
#include "base/WidePath.h"

bool CanOpenForReadingAndWriting(const std::string& path) {
    const OwnedFile file(CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                     nullptr));
    if (!file.IsValid()) {
        return false;
    }
    // Windows refuses a read-only file here already; Wine run by root does not, so the
    // attribute the user set is honoured wherever the program runs.
    BY_HANDLE_FILE_INFORMATION information{};
    return GetFileInformationByHandle(file.Get(), &information) &&
           (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) == 0;
}

std::optional<FileStamp> StampOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    const auto join = [](DWORD high, DWORD low) {
        return (static_cast<std::uint64_t>(high) << 32) | low;
    };
    return FileStamp{join(data.nFileSizeHigh, data.nFileSizeLow),
                     join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}
