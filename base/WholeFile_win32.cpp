#include <windows.h>

#include "base/UniqueHandle_win32.h"
#include "base/WholeFile.h"
#include "base/WidePath.h"

namespace {

ReadProblem ProblemOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return {ReadFailure::kMissing, error};
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return {ReadFailure::kHeld, error};
        case ERROR_ACCESS_DENIED:
            return {ReadFailure::kRefused, error};
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return {ReadFailure::kTooLarge, error};
        default:
            return {ReadFailure::kIoError, error};
    }
}

}  // namespace

FileRead ReadFileWhole(const std::string& path) {
    // Shared as the platform's profile reader shares it, so a book open in an editor still
    // reads; a program that holds it without sharing is told apart from a missing book.
    const OwnedFile owned(CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!owned.IsValid()) {
        return FileRead{{}, ProblemOf(GetLastError())};
    }
    const HANDLE file = owned.Get();
    LARGE_INTEGER size{};
    FileRead read;
    if (!GetFileSizeEx(file, &size)) {
        read.problem = ProblemOf(GetLastError());
    } else {
        read = ReadToEnd(
            static_cast<std::uint64_t>(size.QuadPart),
            [file](char* target, std::size_t room) -> std::variant<std::size_t, ReadProblem> {
                const DWORD chunk = room > 0x10000000 ? 0x10000000 : static_cast<DWORD>(room);
                DWORD got = 0;
                if (!ReadFile(file, target, chunk, &got, nullptr)) {
                    return ProblemOf(GetLastError());
                }
                return static_cast<std::size_t>(got);
            });
    }
    return read;
}
