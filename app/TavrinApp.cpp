#include "app/TavrinApp.h"

#include <commctrl.h>
#include <winsock2.h>

#include <optional>
#include <string>

#include "app/BookClaim.h"
#include "app/ConnectHandOver.h"
#include "app/ProgramFolder.h"
#include "app/TavrinDlg.h"
#include "resources/resource.h"

namespace {

// The sockets failure is told in Chinese whatever the system language, captioned with the
// program's name.
void ShowSocketsFailure(HINSTANCE instance) {
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(instance, IDS_SOCKETS_INIT_FAILED, reinterpret_cast<wchar_t*>(&text), 0);
    MessageBoxW(nullptr, std::wstring(text, length).c_str(), L"Tavrin", MB_OK);
}

}  // namespace

bool CTavrinApp::InitInstance() {
    const std::optional<std::wstring> connectName = ConnectNameOfThisStart();
    // A second launcher on the same book would save over the first one's changes.
    const std::wstring programFolder = RunningProgramFolder();
    const BookClaim claim = BookClaim::ForFolder(programFolder);
    if (!claim.Held()) {
        if (connectName && claim.Owner() != nullptr) {
            HandOverConnect(claim.Owner(), *connectName);
        }
        return false;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);

    WSADATA sockets{};
    if (WSAStartup(MAKEWORD(1, 1), &sockets) != 0) {
        ShowSocketsFailure(m_instance);
        return false;
    }
    {
        CTavrinDlg dialog(m_instance, programFolder, connectName);
        dialog.DoModal(nullptr);
    }
    WSACleanup();
    return false;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CTavrinApp app(instance);
    app.InitInstance();
    return 0;
}
