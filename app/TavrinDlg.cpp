#include "app/TavrinDlg.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

#include "addressbook/AddressBook.h"
#include "addressbook/BookMerge.h"
#include "app/AboutDlg.h"
#include "app/AnsiPath.h"
#include "app/StartupRules.h"
#include "app/TransferPickers.h"
#include "app/WindowConnectEffects.h"
#include "app/WindowDpi.h"
#include "app/WindowLayout.h"
#include "base/AnsiText_win32.h"
#include "base/FixedText.h"
#include "base/WidePath.h"
#include "editing/DeviceFormDlg.h"
#include "resources/resource.h"
#include "texts/FormatText.h"
#include "texts/Messages.h"

namespace {

constexpr UINT_PTR kRepaintTimerId = 100;
constexpr UINT kRepaintDelayMs = 100;
// Devices a notice lists by name; the rest it counts.
constexpr std::size_t kListedNotices = 10;

// The button row, left to right.
constexpr std::array<int, kButtonCount> kButtonRow = {
    IDC_ADD_BUTTON, IDC_EDIT_BUTTON, IDC_DELETE_BUTTON, IDC_EXPORT_BUTTON, IDC_IMPORT_BUTTON};

Rect RectOf(const RECT& r) {
    return Rect{r.left, r.top, r.right, r.bottom};
}

}  // namespace

CTavrinDlg::CTavrinDlg(HINSTANCE instance, std::wstring programFolder,
                       std::optional<std::wstring> connectName)
    : TableDialog(instance, IDD_TAVRIN_DIALOG),
      m_hIcon(LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_programFolderPath(std::move(programFolder)) {
    if (connectName) {
        m_namedConnects.push_back(std::move(*connectName));
    }
}

CTavrinDlg::~CTavrinDlg() = default;

std::span<const ui::MessageEntry<CTavrinDlg>> CTavrinDlg::MessageTable() {
    using D = CTavrinDlg;
    static const ui::MessageEntry<D> table[] = {
        ui::OnMessage<D>(WM_SYSCOMMAND, &D::OnSysCommand),
        ui::OnMessage<D>(WM_PAINT, &D::OnPaint),
        ui::OnMessage<D>(WM_QUERYDRAGICON, &D::OnQueryDragIcon),
        ui::OnMessage<D>(WM_CLOSE, &D::OnClose),
        ui::OnCommand<D>(IDC_ADD_BUTTON, BN_CLICKED, &D::OnClickedAdd),
        ui::OnCommand<D>(IDC_DELETE_BUTTON, BN_CLICKED, &D::OnClickedDelete),
        ui::OnCommand<D>(IDC_EDIT_BUTTON, BN_CLICKED, &D::OnClickedEdit),
        ui::OnCommand<D>(IDC_EXPORT_BUTTON, BN_CLICKED, &D::OnClickedExport),
        ui::OnCommand<D>(IDC_IMPORT_BUTTON, BN_CLICKED, &D::OnClickedImport),
        ui::OnMessage<D>(WM_SIZE, &D::OnSize),
        ui::OnMessage<D>(WM_SIZING, &D::OnSizing),
        ui::OnMessage<D>(WM_DPICHANGED, &D::OnDpiChanged),
        ui::OnNotify<D>(IDC_DEVICE_LIST, NM_DBLCLK, &D::OnDblclkDeviceList),
        ui::OnMessage<D>(WM_CONNECT_RESULT, &D::OnConnectResult),
        ui::OnMessage<D>(WM_NAT_STATUS, &D::OnNatStatus),
        ui::OnMessage<D>(WM_NAT_INFO, &D::OnNatInfo),
        ui::OnNotify<D>(IDC_DEVICE_LIST, LVN_COLUMNCLICK, &D::OnColumnclickDeviceList),
        ui::OnMessage<D>(WM_TIMER, &D::OnTimer),
        ui::OnNotify<D>(IDC_DEVICE_LIST, LVN_ITEMCHANGED, &D::OnItemchangedDeviceList),
        ui::OnCommand<D>(IDOK, BN_CLICKED, &D::OnEnter),
        ui::OnCommand<D>(IDCANCEL, BN_CLICKED, &D::OnEscape),
        ui::OnNotify<D>(IDC_DEVICE_LIST, LVN_KEYDOWN, &D::OnKeydownDeviceList),
        ui::OnNotify<D>(IDC_DEVICE_LIST, LVN_GETDISPINFOW, &D::OnGetdispinfoDeviceList),
        ui::OnNotify<D>(IDC_DEVICE_LIST, LVN_ODFINDITEMW, &D::OnOdfinditemDeviceList),
        ui::OnCommand<D>(IDC_FILTER_EDIT, EN_CHANGE, &D::OnChangeFilter),
        ui::OnMessage<D>(WM_CONTEXTMENU, &D::OnContextMenu),
        ui::OnMenuCommand<D>(IDM_DEVICE_CONNECT, &D::OnMenuConnect),
        ui::OnMenuCommand<D>(IDM_DEVICE_EDIT, &D::OnClickedEdit),
        ui::OnMenuCommand<D>(IDM_DEVICE_DELETE, &D::OnClickedDelete),
        ui::OnMenuCommand<D>(IDM_DEVICE_ADD, &D::OnClickedAdd),
        ui::OnMenuCommand<D>(IDM_LAN_DEVICES, &D::OnMenuLanDevices),
        ui::OnMenuCommand<D>(IDM_DEVICE_SHORTCUT, &D::OnMenuCreateShortcut),
        ui::OnMessage<D>(WM_COPYDATA, &D::OnCopyData),
        ui::OnMessage<D>(WM_CONNECT_NAMED, &D::OnConnectNamed),
        ui::OnMenuCommand<D>(IDM_CHECK_DEVICES, &D::OnMenuCheckDevices),
        ui::OnMenuCommand<D>(IDM_CHECK_ALL_DEVICES, &D::OnMenuCheckAllDevices),
        ui::OnMenuCommand<D>(IDM_STOP_CHECK, &D::StopCheck),
        ui::OnMessage<D>(WM_CHECK_PROGRESS, &D::OnCheckProgress),
    };
    return table;
}

BOOL CTavrinDlg::OnInitDialog() {
    m_deviceList.Attach(Item(IDC_DEVICE_LIST));
    AddAboutToSystemMenu();
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_languageId = LanguageForSystemLanguage(GetSystemDefaultLangID());
    if (m_languageId == Language::kEnglish) {
        SetWindowTextW(Handle(), texts::kWindowTitle.english);
    }
    WarnWhenMemoryIsLow();
    m_dpi = DpiOfWindow(Handle());
    m_startDpi = m_dpi;
    for (int i = 0; i < kButtonCount; ++i) {
        RECT button{};
        GetWindowRect(Item(kButtonRow[i]), &button);
        m_startButtonSizes[i] = Size{button.right - button.left, button.bottom - button.top};
    }
    LayoutControls();
    ApplyControlFonts();

    if (!ListAreaIsUsable()) {
        FailStartup(InLanguage(texts::kStartError, m_languageId));
        return FALSE;
    }
    m_deviceList.SetUpColumns(m_languageId);
    m_deviceList.SetStatusText([this](std::size_t record) {
        return m_statuses.TextFor(m_devices.IdAt(record), m_languageId);
    });
    SetButtonTexts();
    SetUpFilter();
    FindProgramFolder();
    if (!LoadAddressBook()) {
        return FALSE;
    }
    FillDeviceList();
    if (!m_folderSpelledInAnsi) {
        ShowMessage(
            Handle(),
            FormatText(texts::kFolderNotInCodePage, m_languageId, WidePath(m_bookFolder).c_str())
                .c_str(),
            m_languageId);
    }
    ShowBookNotices();

    if (!StartNat()) {
        return FALSE;
    }
    SetTimer(Handle(), kRepaintTimerId, kRepaintDelayMs, nullptr);
    m_discovery.StartDiscovery();
    m_started = true;
    for (std::size_t i = 0; i < m_namedConnects.size(); ++i) {
        PostMessageW(Handle(), WM_CONNECT_NAMED, 0, 0);
    }
    return TRUE;
}

void CTavrinDlg::AddAboutToSystemMenu() {
    HMENU systemMenu = GetSystemMenu(Handle(), FALSE);
    if (systemMenu == nullptr) {
        return;
    }
    const wchar_t* text = nullptr;
    const int length = LoadStringW(Instance(), IDS_ABOUTBOX, reinterpret_cast<wchar_t*>(&text), 0);
    if (length > 0) {
        AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, std::wstring(text, length).c_str());
    }
}

void CTavrinDlg::WarnWhenMemoryIsLow() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) {
        return;
    }
    if (IsMemoryLow(GetAvailableMemoryPercent(status.ullAvailPhys, status.ullTotalPhys))) {
        ShowMessage(Handle(), texts::kLowMemory, m_languageId, MB_OK | MB_ICONWARNING);
    }
}

bool CTavrinDlg::ListAreaIsUsable() const {
    RECT client{};
    GetClientRect(m_deviceList.Handle(), &client);
    return client.right - client.left >= 1 && client.bottom - client.top >= 1;
}

void CTavrinDlg::LayoutControls() {
    RECT client{};
    GetClientRect(Handle(), &client);
    std::array<Size, kButtonCount> sizes{};
    for (int i = 0; i < kButtonCount; ++i) {
        RECT button{};
        GetWindowRect(Item(kButtonRow[i]), &button);
        sizes[i] = Size{button.right - button.left, button.bottom - button.top};
    }
    const MainLayout layout = LayoutMainWindow(RectOf(client), sizes, m_dpi);
    for (int i = 0; i < kButtonCount; ++i) {
        const Rect& r = layout.buttons[i];
        MoveWindow(Item(kButtonRow[i]), r.left, r.top, r.Width(), r.Height(), TRUE);
    }
    Rect list = layout.list;
    if (FilterShown()) {
        RECT box{};
        GetWindowRect(Item(IDC_FILTER_EDIT), &box);
        const Rect band = MakeRoomForFilter(list, box.bottom - box.top);
        MoveWindow(Item(IDC_FILTER_EDIT), band.left, band.top, band.Width(), band.Height(), TRUE);
    }
    MoveWindow(m_deviceList.Handle(), list.left, list.top, list.Width(), list.Height(), TRUE);
}

void CTavrinDlg::ApplyControlFonts() {
    m_fonts.Enlarge(m_deviceList.Handle(), L"Verdana", 2, m_dpi);
    for (int id : kButtonRow) {
        m_fonts.Enlarge(Item(id), L"標楷體", 3, m_dpi);
    }
}

// The buttons' sizes at the window's DPI, from their sizes at start-up, so that moves back
// and forth between monitors gather no rounding.
void CTavrinDlg::ScaleButtons() {
    for (int i = 0; i < kButtonCount; ++i) {
        const Size& size = m_startButtonSizes[i];
        SetWindowPos(Item(kButtonRow[i]), nullptr, 0, 0, MulDiv(size.width, m_dpi, m_startDpi),
                     MulDiv(size.height, m_dpi, m_startDpi),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CTavrinDlg::SetButtonTexts() {
    struct ButtonText {
        int id;
        const UiText& text;
    };
    const ButtonText buttons[] = {
        {IDC_ADD_BUTTON, texts::kAddButton},       {IDC_DELETE_BUTTON, texts::kDeleteButton},
        {IDC_EDIT_BUTTON, texts::kEditButton},     {IDC_EXPORT_BUTTON, texts::kExportButton},
        {IDC_IMPORT_BUTTON, texts::kImportButton},
    };
    for (const ButtonText& button : buttons) {
        SetWindowTextW(Item(button.id), InLanguage(button.text, m_languageId));
    }
}

// The book is found through the folder's wide name, which any folder has; the viewer is
// handed the ANSI name, which a folder named outside the code page does not have.
void CTavrinDlg::FindProgramFolder() {
    m_bookFolder = Utf8Path(m_programFolderPath);
    std::optional<std::string> folder = AnsiPath(m_programFolderPath);
    m_folderSpelledInAnsi = folder.has_value();
    if (!folder) {
        char ansiExecutable[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, ansiExecutable, MAX_PATH - 1);
        folder = ProgramFolderOf(ansiExecutable);
    }
    CopyField(m_programFolder, *folder);
}

// A book that is there but cannot be read is never written over: the user is told which and
// why, and the program ends before anything could save the empty list in its place.
bool CTavrinDlg::LoadAddressBook() {
    const std::optional<ReadProblem> problem = m_book.Load(m_bookFolder);
    if (!problem) {
        return true;
    }
    std::wstring reason;
    switch (problem->reason) {
        case ReadFailure::kHeld:
            reason = InLanguage(texts::kBookHeld, m_languageId);
            break;
        case ReadFailure::kRefused:
            reason = InLanguage(texts::kBookRefused, m_languageId);
            break;
        case ReadFailure::kTooLarge:
            reason = InLanguage(texts::kBookTooLarge, m_languageId);
            break;
        case ReadFailure::kMissing:
        case ReadFailure::kIoError:
            reason = FormatText(texts::kBookReadError, m_languageId,
                                static_cast<unsigned long>(problem->systemError));
            break;
    }
    const std::wstring path = WidePath(m_book.Path());
    ShowMessage(
        Handle(),
        FormatText(texts::kBookUnreadable, m_languageId, path.c_str(), reason.c_str()).c_str(),
        m_languageId);
    EndDialog(-1);
    return false;
}

void CTavrinDlg::FillDeviceList() {
    m_deviceList.Fill(m_devices);
}

SharedBook::Saved CTavrinDlg::SaveBook() {
    const SharedBook::Saved saved = m_book.Save();
    if (saved == SharedBook::Saved::kMerged) {
        // Another launcher's changes came in with this save: the list shows the file.
        FillDeviceList();
    }
    ShowBookNotices();
    return saved;
}

bool CTavrinDlg::SaveAddressBook() {
    // The file on disk is never left half written: a failed save leaves it as it was, and the
    // table stays as it is for the next save to try again.
    if (SaveBook() != SharedBook::Saved::kFailed) {
        return true;
    }
    ShowMessage(
        Handle(),
        FormatText(texts::kBookNotSaved, m_languageId, WidePath(m_book.Path()).c_str()).c_str(),
        m_languageId);
    return false;
}

void CTavrinDlg::ShowBookNotices() {
    const BookNotices notices = m_book.TakeNotices();
    if (notices.Empty()) {
        return;
    }
    std::wstring text;
    // A heading, then one device a line: a few of them say what happened, a book's worth would
    // not fit the screen.
    const auto list = [&](const UiText& heading, const auto& devices, const auto& line) {
        if (devices.empty()) {
            return;
        }
        text += text.empty() ? L"" : L"\n\n";
        text += InLanguage(heading, m_languageId);
        const std::size_t listed = std::min(devices.size(), kListedNotices);
        for (std::size_t i = 0; i < listed; ++i) {
            text += L"\n" + line(devices[i]);
        }
        if (devices.size() > listed) {
            text += L"\n" + FormatText(texts::kMoreDevices, m_languageId,
                                       static_cast<int>(devices.size() - listed));
        }
    };
    list(texts::kBookKeptFromDamage, notices.keptFromDamage,
         [](const std::string& name) { return ShownText(name); });
    list(texts::kBookRenamed, notices.renamed, [this](const RenamedDevice& device) {
        return FormatText(texts::kRenamedDevice, m_languageId, ShownText(device.from).c_str(),
                          ShownText(device.to).c_str());
    });
    ShowMessage(Handle(), text.c_str(), m_languageId);
}

std::optional<CTavrinDlg::OpenCommand> CTavrinDlg::BeginCommand() {
    if (m_commandOpen) {
        SetForegroundWindow(GetLastActivePopup(Handle()));
        return std::nullopt;
    }
    return std::optional<OpenCommand>(std::in_place, m_commandOpen);
}

bool CTavrinDlg::StartNat() {
    if (const std::optional<std::wstring> failure =
            m_tunnel.Start(Handle(), m_programFolderPath, m_languageId)) {
        FailStartup(failure->c_str());
        return false;
    }
    return true;
}

void CTavrinDlg::FailStartup(const wchar_t* text) {
    ShowMessage(Handle(), text, m_languageId);
    EndDialog(-1);
}

ui::MessageResult CTavrinDlg::OnClose(WPARAM, LPARAM) {
    const auto command = BeginCommand();
    if (!command) {
        return 0;
    }
    // Changes the file cannot take are not dropped silently: the user tries again, or keeps
    // the window open to do something about the file.
    while (SaveBook() == SharedBook::Saved::kFailed) {
        const std::wstring text =
            FormatText(texts::kBookNotSavedAtClose, m_languageId, WidePath(m_book.Path()).c_str());
        if (ShowMessage(Handle(), text.c_str(), m_languageId, MB_RETRYCANCEL | MB_ICONWARNING) !=
            IDRETRY) {
            return 0;
        }
    }
    m_check.Stop();
    m_tunnel.Stop();
    m_discovery.StopDiscovery();
    EndDialog(IDCANCEL);
    return 0;
}

ui::MessageResult CTavrinDlg::OnTimer(WPARAM timerId, LPARAM) {
    if (timerId != kRepaintTimerId) {
        return ui::kDefault;
    }
    InvalidateRect(m_deviceList.Handle(), nullptr, TRUE);
    KillTimer(Handle(), kRepaintTimerId);
    return 0;
}

ui::MessageResult CTavrinDlg::OnSysCommand(WPARAM command, LPARAM) {
    if ((command & 0xFFF0) != IDM_ABOUTBOX) {
        return ui::kDefault;
    }
    CAboutDlg about(Instance(), m_languageId);
    about.DoModal(Handle());
    return 0;
}

ui::MessageResult CTavrinDlg::OnPaint(WPARAM, LPARAM) {
    if (!IsIconic(Handle())) {
        return ui::kDefault;
    }
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(Handle(), &paint);
    SendMessageW(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    GetClientRect(Handle(), &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(Handle(), &paint);
    return 0;
}

ui::MessageResult CTavrinDlg::OnQueryDragIcon(WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>(m_hIcon);
}

ui::MessageResult CTavrinDlg::OnSizing(WPARAM, LPARAM) {
    LayoutControls();
    m_deviceList.ResizeColumns();
    return ui::kDefault;
}

// A size change without a drag (maximise, restore, a program moving the window) gets the same
// layout, so the list and buttons never stay where the old size put them; the drag itself
// ends with one too, so the layout never trails the frame.
ui::MessageResult CTavrinDlg::OnSize(WPARAM sizeKind, LPARAM) {
    if (sizeKind != SIZE_MINIMIZED) {
        LayoutControls();
        m_deviceList.ResizeColumns();
    }
    return ui::kDefault;
}

// The window has moved to a monitor of another scale, or its monitor's scale has changed: the
// fonts, the buttons and the margins follow, and the window takes the rectangle the system
// suggests for the new DPI. Handled here whole, so the dialog manager scales nothing of its
// own over the layout.
ui::MessageResult CTavrinDlg::OnDpiChanged(WPARAM dpi, LPARAM suggestedRect) {
    m_dpi = HIWORD(dpi);
    m_fonts.ScaleTo(m_dpi);
    ScaleButtons();
    const RECT& r = *reinterpret_cast<const RECT*>(suggestedRect);
    SetWindowPos(Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // A rectangle of the same size brings no WM_SIZE.
    LayoutControls();
    m_deviceList.ResizeColumns();
    return 0;
}

LRESULT CTavrinDlg::OnColumnclickDeviceList(NMHDR* header) {
    const auto* click = reinterpret_cast<const NMLISTVIEW*>(header);
    m_deviceList.SortByColumn(click->iSubItem, m_sortState);
    return 0;
}

void CTavrinDlg::OnClickedAdd() {
    const auto command = BeginCommand();
    if (!command) {
        return;
    }
    AddDevice(Handle(), DeviceFormFields{});
}

void CTavrinDlg::AddDevice(HWND owner, const DeviceFormFields& prefilled) {
    CAddDeviceDlg dialog(Instance(), m_devices, m_languageId, prefilled);
    if (dialog.DoModal(owner) != IDOK || NameTakenMeanwhile(owner, dialog.Fields(), std::nullopt)) {
        return;
    }
    const DeviceRecord record = RecordFromForm(dialog.Fields(), DeviceRecord{});
    m_devices.Append(record);
    m_deviceList.RecordAppended();
    SaveAddressBook();
}

void CTavrinDlg::AddNewLanDevices(HWND owner, std::span<const LanDeviceRow> newDevices) {
    CAddDeviceDlg dialog(Instance(), m_devices, m_languageId,
                         TemplateFormForNewDevices(newDevices, m_devices));
    if (dialog.DoModal(owner) != IDOK || NameTakenMeanwhile(owner, dialog.Fields(), std::nullopt)) {
        return;
    }
    for (const DeviceRecord& record :
         RecordsForNewDevices(dialog.Fields(), newDevices, m_devices)) {
        m_devices.Append(record);
        m_deviceList.RecordAppended();
    }
    SaveAddressBook();
}

std::vector<std::size_t> CTavrinDlg::SelectedRecordsOrAskToSelect() {
    const std::vector<int> rows = m_deviceList.SelectedRows();
    if (rows.empty()) {
        ShowMessage(Handle(), texts::kSelectOneDevice, m_languageId);
        return {};
    }
    // Every row carries its record's index; should one ever not lead to a record, no other
    // record is taken in its place.
    std::vector<std::size_t> records;
    for (const int row : rows) {
        if (const std::optional<std::size_t> index = m_deviceList.RecordOfRow(row)) {
            records.push_back(*index);
        }
    }
    return records;
}

std::optional<std::size_t> CTavrinDlg::RecordStillThere(RecordId id, std::string_view name) {
    const std::optional<std::size_t> index = m_devices.IndexOfId(id);
    if (!index) {
        ShowMessage(Handle(),
                    FormatText(texts::kDeviceGone, m_languageId, ShownText(name).c_str()).c_str(),
                    m_languageId);
    }
    return index;
}

bool CTavrinDlg::NameTakenMeanwhile(HWND owner, const DeviceFormFields& form,
                                    std::optional<std::size_t> edited) {
    if (CheckDeviceForm(form, m_devices, edited) != FormProblem::kDuplicateName) {
        return false;
    }
    ShowMessage(owner, texts::kDeviceNameExists, m_languageId);
    return true;
}

void CTavrinDlg::OnClickedEdit() {
    const auto command = BeginCommand();
    if (!command) {
        return;
    }
    const std::vector<std::size_t> selected = SelectedRecordsOrAskToSelect();
    if (selected.empty()) {
        return;
    }
    const RecordId id = m_devices.IdAt(selected.front());
    const DeviceRecord opened = m_devices.At(selected.front());
    CEditDeviceDlg dialog(Instance(), m_devices, m_languageId, selected.front(),
                          FormFromRecord(opened));
    if (dialog.DoModal(Handle()) != IDOK) {
        return;
    }
    const std::optional<std::size_t> index = RecordStillThere(id, FieldText(opened.name));
    if (!index || !EditChangesRecord(RecordFromForm(dialog.Fields(), opened), opened) ||
        NameTakenMeanwhile(Handle(), dialog.Fields(), index)) {
        return;
    }
    // Only what the form changed goes over the record as it is now, which a tunnel may have
    // taught its LAN address, or another launcher's merged save another password, meanwhile.
    // The learned LAN address and MAC stay when the IP changes and go with the old UUID.
    DeviceRecord& record = m_devices.At(*index);
    record = MergeDeviceKeys(opened, RecordFromForm(dialog.Fields(), opened), record);
    m_deviceList.RecordChanged();
    SaveAddressBook();
}

// Every selected device goes, after one question. Should a merged save have taken one of them
// away meanwhile, the user is told and nothing is deleted: the list then shows the merged book.
void CTavrinDlg::OnClickedDelete() {
    const auto command = BeginCommand();
    if (!command) {
        return;
    }
    struct Chosen {
        RecordId id;
        std::string name;
    };
    std::vector<Chosen> chosen;
    for (const std::size_t index : SelectedRecordsOrAskToSelect()) {
        chosen.push_back({m_devices.IdAt(index), std::string(FieldText(m_devices.At(index).name))});
    }
    if (chosen.empty()) {
        return;
    }
    if (ShowMessage(Handle(), texts::kConfirmDelete, m_languageId, MB_YESNO | MB_DEFBUTTON2) !=
        IDYES) {
        return;
    }
    // Where each one is now, found in one pass: a whole book may be selected.
    std::unordered_map<RecordId, std::size_t> indexOf;
    for (const Chosen& device : chosen) {
        indexOf.emplace(device.id, m_devices.Count());
    }
    for (std::size_t index = 0; index < m_devices.Count(); ++index) {
        if (const auto found = indexOf.find(m_devices.IdAt(index)); found != indexOf.end()) {
            found->second = index;
        }
    }
    std::vector<std::size_t> removed;
    for (const Chosen& device : chosen) {
        const std::size_t index = indexOf[device.id];
        if (index == m_devices.Count()) {
            RecordStillThere(device.id, device.name);
            return;
        }
        removed.push_back(index);
    }
    std::sort(removed.begin(), removed.end());
    m_devices.RemoveAt(removed);
    m_deviceList.RecordsRemoved(removed);
    SaveAddressBook();
}

void CTavrinDlg::OnClickedExport() {
    const auto command = BeginCommand();
    if (!command) {
        return;
    }
    bool exported = false;
    if (PickExportFile(Handle(), m_exportFolder, m_transferPath)) {
        // The program folder's export file is the book itself: writing it is a save, which
        // keeps what another launcher saved there meanwhile.
        exported = IsSameFilePath(m_transferPath, m_book.Path())
                       ? SaveAddressBook()
                       : ExportAddressBook(m_transferPath, m_devices);
    }
    ShowMessage(Handle(), exported ? texts::kExportSucceeded : texts::kExportFailed, m_languageId);
}

// The imported devices reach AddressBook.ini with the next save: after the next change, or
// when the window closes.
void CTavrinDlg::OnClickedImport() {
    const auto command = BeginCommand();
    if (!command) {
        return;
    }
    const bool imported = ImportThroughPicker(Handle(), m_devices, m_transferPath);
    if (imported) {
        m_book.TableReplaced();
        FillDeviceList();
    }
    ShowMessage(Handle(), imported ? texts::kImportSucceeded : texts::kImportFailed, m_languageId);
}

std::optional<std::size_t> CTavrinDlg::SelectedRecord() const {
    return m_deviceList.RecordOfRow(m_deviceList.FirstSelectedRow());
}

ViewerSettings CTavrinDlg::LaunchSettings() const {
    return ViewerSettings{m_programFolder, m_languageId};
}

LRESULT CTavrinDlg::OnDblclkDeviceList(NMHDR*) {
    const auto command = BeginCommand();
    if (!command) {
        return 0;
    }
    if (const std::optional<std::size_t> index = SelectedRecord()) {
        ConnectToRecord(*index);
    }
    return 0;
}

void CTavrinDlg::ConnectToRecord(std::size_t index) {
    WindowConnectEffects effects(m_discovery, m_programFolder, [this] { SaveAddressBook(); });
    // The LAN check may find the device's address: the next tunnel failure's report names it.
    ConnectionTarget target = m_tunnel.Target();
    const ConnectStep step = DecideDoubleClick(m_devices.At(index), m_discovery.IsRunning(), target,
                                               LaunchSettings(), effects);
    m_tunnel.SetTarget(target);
    switch (step) {
        case ConnectStep::kCommandLineTooLong:
            ShowMessage(Handle(), texts::kCommandLineTooLong, m_languageId);
            break;
        case ConnectStep::kNeedsTunnel:
            StartTunnel(index);
            break;
        case ConnectStep::kNothing:
        case ConnectStep::kLaunched:
            break;
    }
}

void CTavrinDlg::StartTunnel(std::size_t index) {
    // No other double-click until this attempt's outcome has been handled.
    EnableWindow(m_deviceList.Handle(), FALSE);
    if (!m_tunnel.Connect(Handle(), m_devices.IdAt(index), m_devices.At(index))) {
        EnableWindow(m_deviceList.Handle(), TRUE);
        ShowConnectFailure(-1);
    }
}

void CTavrinDlg::ShowConnectFailure(int code) {
    ShowMessage(Handle(), TunnelConnection::FailureText(code, m_languageId).c_str(), m_languageId);
}

ui::MessageResult CTavrinDlg::OnConnectResult(WPARAM wParam, LPARAM code) {
    const std::optional<TunnelConnection::Outcome> outcome = m_tunnel.TakeOutcome(wParam, code);
    if (!outcome) {
        return 0;
    }
    if (!outcome->connected) {
        ShowConnectFailure(outcome->code);
    } else if (outcome->attempt) {
        CompleteTunnel(*outcome->attempt);
    }
    EnableWindow(m_deviceList.Handle(), TRUE);
    return 0;
}

// The viewer and what the tunnel teaches belong to the device the attempt was started for,
// as the book has it now (a password corrected meanwhile counts). One that has gone, or now
// names another UUID than the tunnel reached, gets the viewer as it was double-clicked, and
// nothing is learned into the book.
void CTavrinDlg::CompleteTunnel(const TunnelConnection::Attempt& attempt) {
    const std::optional<std::size_t> index = m_devices.IndexOfId(attempt.id);
    const bool inBook =
        index && FieldText(m_devices.At(*index).uuid) == FieldText(attempt.asStarted.uuid);
    DeviceRecord asStarted = attempt.asStarted;
    DeviceRecord& record = inBook ? m_devices.At(*index) : asStarted;
    WindowConnectEffects effects(m_discovery, m_programFolder, [this, inBook] {
        if (inBook) {
            SaveAddressBook();
        }
    });
    if (CompleteTunnelConnection(record, m_tunnel.Target(), m_tunnel.ConnectKind(),
                                 LaunchSettings(), effects) == ConnectStep::kCommandLineTooLong) {
        ShowMessage(Handle(), texts::kCommandLineTooLong, m_languageId);
    }
}

ui::MessageResult CTavrinDlg::OnNatStatus(WPARAM, LPARAM) {
    OutputDebugStringA("[Tavrin] Return Data= 1\t0\t\n");
    return 0;
}

ui::MessageResult CTavrinDlg::OnNatInfo(WPARAM, LPARAM) {
    for (const std::string& info : m_tunnel.TakeInfoTexts()) {
        OutputDebugStringA(("[Tavrin] Return Data= " + info + "\n").c_str());
    }
    return 0;
}

LRESULT CTavrinDlg::OnItemchangedDeviceList(NMHDR*) {
    return 0;
}

// Enter and Escape would end the dialog behind the shutdown sequence's back (losing an import
// and skipping the library's shutdown): the main window closes only through WM_CLOSE. Enter
// reaches the window as its hidden OK button when the focused control does not take the key
// itself; on the device list, or in the filter box above it, it connects to the selected
// device, as a double-click does (not while the list waits for a tunnel). Escape reaches it as
// the hidden Cancel button, and puts the filter away.
void CTavrinDlg::OnEnter() {
    const HWND focus = GetFocus();
    if ((focus == m_deviceList.Handle() || focus == Item(IDC_FILTER_EDIT)) &&
        IsWindowEnabled(m_deviceList.Handle())) {
        OnDblclkDeviceList(nullptr);
    }
}

// Escape ends a running check, wherever the focus is, and hides the filter box.
void CTavrinDlg::OnEscape() {
    StopCheck();
    HideFilter();
}
