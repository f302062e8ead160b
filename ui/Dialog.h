// A small modal-dialog framework: one static dialog procedure finds the C++ object and hands
// each message to the entry of the dialog's message table that names it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <span>

namespace ui {

// What a message handler returns: the message's result, or kDefault to let the default
// dialog processing handle the message as if there were no handler.
using MessageResult = std::optional<LRESULT>;
inline constexpr MessageResult kDefault = std::nullopt;

class Dialog {
public:
    Dialog(HINSTANCE instance, int templateId) : m_instance(instance), m_templateId(templateId) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog modally; returns the value passed to EndDialog, or -1 when the dialog
    // could not be created.
    INT_PTR DoModal(HWND owner);

    HWND Handle() const { return m_hWnd; }
    HINSTANCE Instance() const { return m_instance; }
    void EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }
    HWND Item(int id) const { return GetDlgItem(m_hWnd, id); }

protected:
    // The controls exist when this runs. Returns TRUE to let the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }

    // Handles a message through the message table; kDefault leaves it to the default dialog
    // processing.
    virtual MessageResult Dispatch(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // The framework's handling of OK and Cancel that no table entry took: end the dialog with
    // that button's id.
    MessageResult EndOnOkOrCancel(UINT message, WPARAM wParam);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE m_instance;
    int m_templateId;
    HWND m_hWnd = nullptr;
};

// One line of a message table: a window message, a command from a control (WM_COMMAND with a
// notification code such as BN_CLICKED), the same command from any control, or a notification
// from a control (WM_NOTIFY).
template <class T>
struct MessageEntry {
    enum class Kind { kMessage, kCommand, kAnyControlCommand, kNotify };
    using MessageHandler = MessageResult (T::*)(WPARAM, LPARAM);
    using CommandHandler = void (T::*)();
    using AnyControlHandler = void (T::*)(int controlId);
    using NotifyHandler = LRESULT (T::*)(NMHDR*);

    Kind kind;
    UINT code;       // message number, command notification code or WM_NOTIFY code
    UINT controlId;  // the control, for commands and notifications
    MessageHandler onMessage = nullptr;
    CommandHandler onCommand = nullptr;
    AnyControlHandler onAnyControl = nullptr;
    NotifyHandler onNotify = nullptr;
};

template <class T>
constexpr MessageEntry<T> OnMessage(UINT message, MessageResult (T::*handler)(WPARAM, LPARAM)) {
    return {.kind = MessageEntry<T>::Kind::kMessage,
            .code = message,
            .controlId = 0,
            .onMessage = handler};
}

template <class T>
constexpr MessageEntry<T> OnCommand(UINT controlId, UINT code, void (T::*handler)()) {
    return {.kind = MessageEntry<T>::Kind::kCommand,
            .code = code,
            .controlId = controlId,
            .onCommand = handler};
}

// A menu item's command: WM_COMMAND with the item's id and notification code 0.
template <class T>
constexpr MessageEntry<T> OnMenuCommand(UINT itemId, void (T::*handler)()) {
    return OnCommand<T>(itemId, 0, handler);
}

// Put after the entries for particular controls: the first entry that matches handles it.
template <class T>
constexpr MessageEntry<T> OnAnyControlCommand(UINT code, void (T::*handler)(int controlId)) {
    return {.kind = MessageEntry<T>::Kind::kAnyControlCommand,
            .code = code,
            .controlId = 0,
            .onAnyControl = handler};
}

template <class T>
constexpr MessageEntry<T> OnNotify(UINT controlId, UINT code, LRESULT (T::*handler)(NMHDR*)) {
    return {.kind = MessageEntry<T>::Kind::kNotify,
            .code = code,
            .controlId = controlId,
            .onNotify = handler};
}

// Base of every dialog of ours: T provides `static std::span<const MessageEntry<T>>
// MessageTable()`.
template <class T>
class TableDialog : public Dialog {
public:
    using Dialog::Dialog;

protected:
    MessageResult Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override {
        T& self = static_cast<T&>(*this);
        for (const MessageEntry<T>& entry : T::MessageTable()) {
            switch (entry.kind) {
                case MessageEntry<T>::Kind::kMessage:
                    if (entry.code == message) {
                        return (self.*entry.onMessage)(wParam, lParam);
                    }
                    break;
                case MessageEntry<T>::Kind::kCommand:
                    if (message == WM_COMMAND && entry.controlId == LOWORD(wParam) &&
                        entry.code == HIWORD(wParam)) {
                        (self.*entry.onCommand)();
                        return 0;
                    }
                    break;
                case MessageEntry<T>::Kind::kAnyControlCommand:
                    if (message == WM_COMMAND && entry.code == HIWORD(wParam)) {
                        (self.*entry.onAnyControl)(LOWORD(wParam));
                        return 0;
                    }
                    break;
                case MessageEntry<T>::Kind::kNotify:
                    if (message == WM_NOTIFY) {
                        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
                        if (entry.controlId == header->idFrom && entry.code == header->code) {
                            return (self.*entry.onNotify)(header);
                        }
                    }
                    break;
            }
        }
        return EndOnOkOrCancel(message, wParam);
    }
};

}  // namespace ui
