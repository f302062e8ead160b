#include "viewer/CommandLog.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "base/UniqueHandle_win32.h"

namespace {

constexpr int kOpenAttempts = 100;
constexpr DWORD kOpenRetryMs = 20;

// Opened for this viewer alone: viewers started together take turns, since a trim rewrites the
// file and must not lose a line another one appends meanwhile. Readers are let in.
OwnedFile OpenAlone(const char* path) {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        const HANDLE opened = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (opened != INVALID_HANDLE_VALUE) {
            return OwnedFile(opened);
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION) {
            break;
        }
        Sleep(kOpenRetryMs);
    }
    return OwnedFile();
}

bool Seek(HANDLE file, LONGLONG offset) {
    LARGE_INTEGER at{};
    at.QuadPart = offset;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != FALSE;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    DWORD written = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// Keeps the newest whole lines within half the limit, moved to the start of the file.
bool DropOldestLines(HANDLE file, LONGLONG size) {
    const LONGLONG keep = std::min(size, static_cast<LONGLONG>(kCommandLogLimit / 2));
    std::string tail(static_cast<std::size_t>(keep), '\0');
    DWORD read = 0;
    if (!Seek(file, size - keep) ||
        !ReadFile(file, tail.data(), static_cast<DWORD>(tail.size()), &read, nullptr)) {
        return false;
    }
    tail.resize(read);
    // The first line is cut unless the kept part happens to start with one.
    const std::size_t lineEnd = tail.find('\n');
    tail.erase(0, lineEnd == std::string::npos ? tail.size() : lineEnd + 1);
    return Seek(file, 0) && WriteAll(file, tail) && SetEndOfFile(file);
}

}  // namespace

bool AppendCommandLog(const char* path, std::string_view line) {
    const OwnedFile file = OpenAlone(path);
    if (!file.IsValid()) {
        return false;
    }
    const std::string record = std::string(line) + "\r\n";
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) {
        return false;
    }
    if (static_cast<unsigned long long>(size.QuadPart) + record.size() > kCommandLogLimit &&
        !DropOldestLines(file.Get(), size.QuadPart)) {
        return false;
    }
    LARGE_INTEGER end{};
    return SetFilePointerEx(file.Get(), end, nullptr, FILE_END) && WriteAll(file.Get(), record);
}
