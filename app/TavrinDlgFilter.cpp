// The main window's filter box: above the device list while shown, it narrows the list to the
// devices that hold what is typed in it, keystroke by keystroke.
#include "app/TavrinDlg.h"

#include <commctrl.h>

#include <string>

#include "app/AnsiPath.h"
#include "resources/resource.h"
#include "texts/Texts.h"

void CTavrinDlg::SetUpFilter() {
    // The cue stays while the box is empty, focused or not: the box takes the focus as it shows.
    SendMessageW(Item(IDC_FILTER_EDIT), EM_SETCUEBANNER, TRUE,
                 reinterpret_cast<LPARAM>(InLanguage(texts::kFilterCue, m_languageId)));
}

bool CTavrinDlg::FilterShown() const {
    return IsWindowVisible(Item(IDC_FILTER_EDIT)) != FALSE;
}

void CTavrinDlg::ShowFilter() {
    const HWND box = Item(IDC_FILTER_EDIT);
    if (!FilterShown()) {
        ShowWindow(box, SW_SHOW);
        LayoutControls();
        m_deviceList.ResizeColumns();
    }
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, 0, -1);
}

void CTavrinDlg::HideFilter() {
    if (!FilterShown()) {
        return;
    }
    const HWND box = Item(IDC_FILTER_EDIT);
    const bool hadFocus = GetFocus() == box;
    SetWindowTextW(box, L"");  // every device shows again
    ShowWindow(box, SW_HIDE);
    LayoutControls();
    m_deviceList.ResizeColumns();
    if (hadFocus) {
        SetFocus(m_deviceList.Handle());
    }
}

void CTavrinDlg::OnChangeFilter() {
    const HWND box = Item(IDC_FILTER_EDIT);
    std::wstring typed(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    typed.resize(static_cast<std::size_t>(
        GetWindowTextW(box, typed.data(), static_cast<int>(typed.size()))));
    // A letter the code page cannot spell is in no device's texts: no row holds it.
    m_deviceList.Filter(typed.empty() ? std::optional<std::string>(std::string())
                                      : AnsiPath(typed));
}
