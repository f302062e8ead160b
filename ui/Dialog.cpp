#include "ui/Dialog.h"

#include <cstdlib>

namespace ui {

namespace {

// Messages whose result a dialog procedure returns itself instead of through
// DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
    switch (message) {
        case WM_CHARTOITEM:
        case WM_COMPAREITEM:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_INITDIALOG:
        case WM_QUERYDRAGICON:
        case WM_VKEYTOITEM:
            return true;
        default:
            return false;
    }
}

}  // namespace

MessageResult Dialog::EndOnOkOrCancel(UINT message, WPARAM wParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
        (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(LOWORD(wParam));
        return 0;
    }
    return kDefault;
}

INT_PTR Dialog::DoModal(HWND owner) {
    return DialogBoxParamW(m_instance, MAKEINTRESOURCEW(m_templateId), owner, &Dialog::DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // An exception must never unwind through the system's frames: there is no sane way to go
    // on, and the address book on disk is safe whatever happens here.
    try {
        Dialog* self = nullptr;
        if (message == WM_INITDIALOG) {
            self = reinterpret_cast<Dialog*>(lParam);
            SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
            self->m_hWnd = window;
            return self->OnInitDialog();
        }
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
        if (self == nullptr) {
            return FALSE;
        }
        const MessageResult result = self->Dispatch(message, wParam, lParam);
        if (!result) {
            return FALSE;
        }
        if (ReturnsResultDirectly(message)) {
            return static_cast<INT_PTR>(*result);
        }
        SetWindowLongPtrW(window, DWLP_MSGRESULT, *result);
        return TRUE;
    } catch (...) {
        std::abort();
    }
}

}  // namespace ui
