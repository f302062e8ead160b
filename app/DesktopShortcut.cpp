#include "app/DesktopShortcut.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string_view>

#include "app/ConnectArgument.h"
#include "app/ProgramFolder.h"

namespace {

// The device's name as a file name: no character the file system refuses, no dot or blank at
// the end, which it would drop.
std::wstring ShortcutFileName(std::wstring_view deviceName) {
    std::wstring name;
    for (const wchar_t c : deviceName) {
        name += c < L' ' || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos
                    ? L'_'
                    : c;
    }
    while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) {
        name.pop_back();
    }
    return (name.empty() ? std::wstring(L"Tavrin") : name) + L".lnk";
}

// Releases a COM interface when it goes.
template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (m_pointer != nullptr) {
            m_pointer->Release();
        }
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* operator->() const { return m_pointer; }
    void** Out() { return reinterpret_cast<void**>(&m_pointer); }

private:
    Interface* m_pointer = nullptr;
};

bool SaveShortcut(const std::wstring& path, const std::wstring& deviceName) {
    const std::wstring program = RunningProgramPath();
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.Out()))) {
        return false;
    }
    const std::wstring arguments = ConnectArguments(deviceName);
    const std::wstring folder = RunningProgramFolder();
    ComPtr<IPersistFile> file;
    return SUCCEEDED(link->SetPath(program.c_str())) &&
           SUCCEEDED(link->SetArguments(arguments.c_str())) &&
           SUCCEEDED(link->SetWorkingDirectory(folder.c_str())) &&
           SUCCEEDED(link->SetIconLocation(program.c_str(), 0)) &&
           SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.Out())) &&
           SUCCEEDED(file->Save(path.c_str(), TRUE));
}

}  // namespace

bool CreateDesktopShortcut(const std::wstring& deviceName) {
    wchar_t desktop[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT,
                                desktop))) {
        return false;
    }
    const std::wstring path = std::wstring(desktop) + L"\\" + ShortcutFileName(deviceName);
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const bool saved = SaveShortcut(path, deviceName);
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return saved;
}
