#include "app/ProgramFolder.h"

#include <windows.h>

std::wstring RunningProgramPath() {
    // The longest path the platform has: a program started from a long folder name still
    // finds its book and library.
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return path;
}

std::wstring RunningProgramFolder() {
    const std::wstring path = RunningProgramPath();
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(0, slash + 1);
}
