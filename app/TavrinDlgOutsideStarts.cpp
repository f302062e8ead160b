// The main window's starts from outside: a device named on the command line or handed over by
// a second start, and the desktop shortcut that names one.
#include "app/TavrinDlg.h"

#include "app/AnsiPath.h"
#include "app/ConnectHandOver.h"
#include "app/DesktopShortcut.h"
#include "base/AnsiText_win32.h"
#include "base/FixedText.h"
#include "texts/FormatText.h"
#include "texts/Messages.h"

ui::MessageResult CTavrinDlg::OnCopyData(WPARAM, LPARAM data) {
    std::optional<std::wstring> name =
        HandedOverName(*reinterpret_cast<const COPYDATASTRUCT*>(data));
    if (!name) {
        return FALSE;
    }
    // The second start waits for this answer: the name is queued, and connected to once this
    // message has returned (and start-up has ended).
    m_namedConnects.push_back(std::move(*name));
    if (m_started) {
        PostMessageW(Handle(), WM_CONNECT_NAMED, 0, 0);
    }
    return TRUE;
}

ui::MessageResult CTavrinDlg::OnConnectNamed(WPARAM, LPARAM) {
    if (m_namedConnects.empty()) {
        return 0;
    }
    const std::wstring name = std::move(m_namedConnects.front());
    m_namedConnects.erase(m_namedConnects.begin());
    ConnectByName(name);
    return 0;
}

void CTavrinDlg::ConnectByName(const std::wstring& name) {
    // While a form or a question is open, that comes forward, as for a double-click on the
    // window behind it; while a tunnel is being opened, the list takes no double-click either.
    const auto command = BeginCommand();
    if (!command || !IsWindowEnabled(m_deviceList.Handle())) {
        return;
    }
    const std::optional<std::string> ansiName = AnsiPath(name);
    const std::optional<std::size_t> index =
        ansiName ? m_devices.IndexOfNameIgnoringCase(*ansiName) : std::nullopt;
    if (!index) {
        ShowMessage(Handle(), FormatText(texts::kNoDeviceNamed, m_languageId, name.c_str()).c_str(),
                    m_languageId);
        return;
    }
    if (const std::optional<int> row = m_deviceList.RowOfRecord(*index)) {
        m_deviceList.SelectOnly(*row);
    }
    ConnectToRecord(*index);
}

void CTavrinDlg::OnMenuCreateShortcut() {
    const auto command = BeginCommand();
    if (!command) {
        return;
    }
    const std::vector<std::size_t> selected = SelectedRecordsOrAskToSelect();
    if (!selected.empty() &&
        !CreateDesktopShortcut(ShownText(FieldText(m_devices.At(selected.front()).name)))) {
        ShowMessage(Handle(), texts::kShortcutNotMade, m_languageId);
    }
}
