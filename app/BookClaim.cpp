#include "app/BookClaim.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

namespace {

// Long enough for a launcher still starting (its window not yet made) or still closing (its
// workers given their time to end) to come and go.
constexpr DWORD kWaitForOwnerMs = 15000;
constexpr DWORD kPollMs = 100;

template <class Call>
std::wstring GrownBy(const std::wstring& path, Call&& call) {
    std::wstring out(MAX_PATH, L'\0');
    DWORD length = call(path.c_str(), out.data(), static_cast<DWORD>(out.size()));
    if (length >= out.size()) {
        out.resize(length);
        length = call(path.c_str(), out.data(), static_cast<DWORD>(out.size()));
    }
    if (length == 0 || length >= out.size()) {
        return path;
    }
    out.resize(length);
    return out;
}

// The folder's own name as the file system resolves it: links and substituted drives followed
// where the platform can, else the full long name.
std::wstring ResolvedFolder(const std::wstring& folder) {
    std::wstring full = GrownBy(folder, [](const wchar_t* in, wchar_t* out, DWORD size) {
        return GetFullPathNameW(in, size, out, nullptr);
    });
    full = GrownBy(full, [](const wchar_t* in, wchar_t* out, DWORD size) {
        return GetLongPathNameW(in, out, size);
    });
    const OwnedFile folderHandle(
        CreateFileW(full.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (folderHandle.IsValid()) {
        std::wstring final(MAX_PATH, L'\0');
        DWORD length = GetFinalPathNameByHandleW(folderHandle.Get(), final.data(),
                                                 static_cast<DWORD>(final.size()), 0);
        if (length >= final.size()) {
            final.resize(length);
            length = GetFinalPathNameByHandleW(folderHandle.Get(), final.data(),
                                               static_cast<DWORD>(final.size()), 0);
        }
        if (length > 0 && length < final.size()) {
            final.resize(length);
            full = final;
        }
    }
    while (!full.empty() && (full.back() == L'\\' || full.back() == L'/')) {
        full.pop_back();
    }
    return full;
}

// What to bring forward of a process: its visible window that nothing owns, or, while that is
// still hidden at start-up, the message it shows.
struct WindowSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK TakeMainWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || GetWindow(window, GW_OWNER) != nullptr) {
        return TRUE;
    }
    if (IsWindowVisible(window) || IsWindowVisible(GetLastActivePopup(window))) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

void BringForward(HWND window) {
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    // A dialog open over the window (a form, a message) is what the user must answer first.
    SetForegroundWindow(GetLastActivePopup(window));
}

enum class OwnerState { kShown, kEnded, kWaiting };

bool HasEnded(DWORD pid) {
    const OwnedHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    return !process.IsValid() || WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0;
}

OwnerState ShowOwner(DWORD pid, HWND& shown) {
    if (pid == 0) {
        return OwnerState::kWaiting;  // its id is being written
    }
    if (HasEnded(pid)) {
        return OwnerState::kEnded;
    }
    WindowSearch search{pid, nullptr};
    EnumWindows(TakeMainWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) {
        return OwnerState::kWaiting;  // still starting
    }
    BringForward(search.found);
    shown = search.found;
    return OwnerState::kShown;
}

// The kernel object name for a folder: the same for every spelling the file system takes for
// one folder (letter case, short names, "..", a trailing backslash).
std::wstring ObjectNameFor(const std::wstring& folder) {
    std::wstring key = ResolvedFolder(folder);
    // File names match without regard to case; the invariant upper case is how the platform
    // folds them.
    if (!key.empty()) {
        LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, key.data(), static_cast<int>(key.size()),
                     key.data(), static_cast<int>(key.size()));
    }
    // Object names take no backslashes and are short; a hash of the name stands for it.
    std::uint64_t hash = 14695981039346656037ull;
    for (const wchar_t c : key) {
        hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
    }
    wchar_t name[64];
    swprintf(name, sizeof name / sizeof name[0], L"Local\\Tavrin.Book.%016llx",
             static_cast<unsigned long long>(hash));
    return name;
}

}  // namespace

BookClaim BookClaim::ForFolder(const std::wstring& programFolder) {
    const std::wstring name = ObjectNameFor(programFolder);
    const DWORD start = GetTickCount();
    do {
        OwnedHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                               sizeof(LONG), name.c_str()));
        if (!mapping.IsValid()) {
            // Nothing to compare with: run rather than refuse the user the program.
            return BookClaim(true);
        }
        const bool first = GetLastError() != ERROR_ALREADY_EXISTS;
        auto* owner = static_cast<volatile LONG*>(
            MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
        if (owner == nullptr) {
            return BookClaim(true);
        }
        const LONG self = static_cast<LONG>(GetCurrentProcessId());
        bool claimed = first;
        OwnerState state = OwnerState::kWaiting;
        HWND shown = nullptr;
        if (first) {
            InterlockedExchange(owner, self);
        } else {
            const LONG pid = InterlockedCompareExchange(owner, 0, 0);
            state = ShowOwner(static_cast<DWORD>(pid), shown);
            // An owner that has ended while another start still held the object: the first
            // start to put its own id in place of the ended one's owns the book.
            claimed =
                state == OwnerState::kEnded && InterlockedCompareExchange(owner, self, pid) == pid;
        }
        UnmapViewOfFile(const_cast<LONG*>(owner));
        if (claimed) {
            return BookClaim(true, std::move(mapping));
        }
        // Not kept while waiting: the object must go once its last owner has.
        mapping.Reset();
        if (state == OwnerState::kShown) {
            return BookClaim(false, OwnedHandle(), shown);
        }
        Sleep(kPollMs);
    } while (GetTickCount() - start < kWaitForOwnerMs);
    return BookClaim(false);
}
