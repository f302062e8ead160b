#include "toplevel.h"

#include <algorithm>

#include "window_info.h"

namespace {

constexpr DWORD kPollMs = 50;

BOOL CALLBACK collect(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

bool sameExe(const std::wstring& image, const std::wstring& wanted) {
    std::wstring candidate = image;
    if (wanted.find(L'\\') == std::wstring::npos) {
        size_t slash = image.find_last_of(L'\\');
        candidate = image.substr(slash == std::wstring::npos ? 0 : slash + 1);
    }
    return CompareStringOrdinal(candidate.c_str(), -1, wanted.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

WindowFilter::WindowFilter(const Args& args)
    : title(args.text(L"title")),
      cls(args.text(L"class")),
      exe(args.text(L"exe")),
      pid(static_cast<DWORD>(args.number(L"pid", 0))) {
    for (long long h : args.numbers(L"exclude"))
        exclude.push_back(reinterpret_cast<HWND>(static_cast<UINT_PTR>(h)));
}

bool WindowFilter::matches(HWND hwnd) const {
    if (visibleOnly && !IsWindowVisible(hwnd))
        return false;
    if (std::find(exclude.begin(), exclude.end(), hwnd) != exclude.end())
        return false;
    if (pid && windowPid(hwnd) != pid)
        return false;
    if (!cls.empty() && className(hwnd) != cls)
        return false;
    if (!title.empty() && windowText(hwnd) != title)
        return false;
    return exe.empty() || sameExe(processImage(windowPid(hwnd)), exe);
}

std::vector<HWND> topLevelWindows() {
    std::vector<HWND> list;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&list));
    return list;
}

HWND waitForWindow(WindowFilter filter, DWORD timeoutMs) {
    // A dialog exists hidden while WM_INITDIALOG runs; the test wants it only
    // once a person could see it.
    filter.visibleOnly = true;
    DWORD start = GetTickCount();
    for (;;) {
        for (HWND hwnd : topLevelWindows())
            if (filter.matches(hwnd))
                return hwnd;
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(kPollMs);
    }
}

bool waitUntilGone(HWND hwnd, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (IsWindow(hwnd)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(kPollMs);
    }
    return true;
}
