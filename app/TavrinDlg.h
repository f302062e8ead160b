// The main window: owns the address book, the device list and the connection to the NAT
// library; starts them in a fixed order and stops them in a fixed order on close.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>
#include <string_view>

#include "addressbook/DeviceTable.h"
#include "addressbook/SharedBook.h"
#include "addressbook/Transfer.h"
#include "app/ControlFonts.h"
#include "app/DeviceListView.h"
#include "app/DeviceStatuses.h"
#include "app/LanDeviceRows.h"
#include "app/SortRules.h"
#include "app/TunnelConnection.h"
#include "app/WindowLayout.h"
#include "connect/ConnectDecision.h"
#include "connect/DeviceCheckWorker_win32.h"
#include "discovery/DiscoveryWorker_win32.h"
#include "editing/DeviceForm.h"
#include "texts/Language.h"
#include "ui/Dialog.h"

// Posted by the main window to itself for each name in m_namedConnects.
constexpr UINT WM_CONNECT_NAMED = WM_APP + 1;

class CTavrinDlg : public ui::TableDialog<CTavrinDlg> {
public:
    // connectName: a device to connect to once the window has started (--connect).
    CTavrinDlg(HINSTANCE instance, std::wstring programFolder,
               std::optional<std::wstring> connectName = std::nullopt);
    ~CTavrinDlg() override;

    static std::span<const ui::MessageEntry<CTavrinDlg>> MessageTable();

protected:
    BOOL OnInitDialog() override;

private:
    // Start-up steps.
    void AddAboutToSystemMenu();
    void WarnWhenMemoryIsLow();
    bool ListAreaIsUsable() const;
    void SetButtonTexts();
    void FindProgramFolder();
    bool LoadAddressBook();
    // One row per record, in table order, in place of whatever the list showed.
    void FillDeviceList();
    // Loads and starts the NAT library; on failure tells the user and ends the dialog.
    bool StartNat();
    void FailStartup(const wchar_t* text);

    // Saves the table, merging what another launcher saved meanwhile; after a merge the list
    // shows the merged book, and what the book did to keep devices is told. SaveAddressBook
    // also tells a failure, and is false then.
    SharedBook::Saved SaveBook();
    bool SaveAddressBook();
    void ShowBookNotices();

    // Held by a command for as long as it runs, its modal loops included (a form, a question,
    // a picker): a message box shown inside such a loop enables the main window again when it
    // closes, and no second command may start over the open one then.
    class OpenCommand {
    public:
        explicit OpenCommand(bool& open) : m_open(open) { m_open = true; }
        ~OpenCommand() { m_open = false; }
        OpenCommand(const OpenCommand&) = delete;
        OpenCommand& operator=(const OpenCommand&) = delete;

    private:
        bool& m_open;
    };
    // The hold for a command, or none while another one is open (whose window comes forward).
    std::optional<OpenCommand> BeginCommand();

    // Connecting: the record of the selected row, silently none without a selection; the
    // settings every viewer launch carries, the NAT attempt, its outcome and the failure
    // messages.
    std::optional<std::size_t> SelectedRecord() const;
    ViewerSettings LaunchSettings() const;
    // What a double-click does with the record, the command already held.
    void ConnectToRecord(std::size_t record);
    void StartTunnel(std::size_t record);
    void CompleteTunnel(const TunnelConnection::Attempt& attempt);
    void ShowConnectFailure(int code);

    // Edit and Delete: the records of the selected rows, top to bottom, or none after asking
    // the user to select a device. Edit takes the first of them.
    std::vector<std::size_t> SelectedRecordsOrAskToSelect();
    // Where the record of that id is now, after a modal loop in which a merged save may have
    // reordered the table or taken the device away; when it has gone, the user is told (by
    // the name it had) and there is none.
    std::optional<std::size_t> RecordStillThere(RecordId id, std::string_view name);
    // True, after telling the user, when another device has the form's name now: the form
    // checked it against the table as it was when it opened.
    bool NameTakenMeanwhile(HWND owner, const DeviceFormFields& form,
                            std::optional<std::size_t> edited);

    // Runs the Add form (filled in with prefilled, owned by owner) and adds what it accepts.
    void AddDevice(HWND owner, const DeviceFormFields& prefilled);
    // Runs one Add form for devices found on the LAN and adds them all with what it accepts.
    void AddNewLanDevices(HWND owner, std::span<const LanDeviceRow> newDevices);

    // The filter box above the list: its cue, shown and focused by Ctrl+F or Ctrl+E, hidden
    // and emptied by Escape (the layout without it is the window's own).
    void SetUpFilter();
    bool FilterShown() const;
    void ShowFilter();
    void HideFilter();

    // Layout, fonts and painting, at the window's DPI.
    void LayoutControls();
    void ApplyControlFonts();
    void ScaleButtons();

    // Message handlers.
    ui::MessageResult OnClose(WPARAM, LPARAM);
    ui::MessageResult OnTimer(WPARAM timerId, LPARAM);
    ui::MessageResult OnSysCommand(WPARAM command, LPARAM);
    ui::MessageResult OnPaint(WPARAM, LPARAM);
    ui::MessageResult OnQueryDragIcon(WPARAM, LPARAM);
    ui::MessageResult OnSizing(WPARAM, LPARAM);
    ui::MessageResult OnSize(WPARAM sizeKind, LPARAM);
    ui::MessageResult OnDpiChanged(WPARAM dpi, LPARAM suggestedRect);
    LRESULT OnDblclkDeviceList(NMHDR*);
    ui::MessageResult OnConnectResult(WPARAM wParam, LPARAM result);
    ui::MessageResult OnNatStatus(WPARAM, LPARAM);
    ui::MessageResult OnNatInfo(WPARAM, LPARAM);
    LRESULT OnColumnclickDeviceList(NMHDR* header);
    void OnClickedAdd();
    void OnClickedEdit();
    void OnClickedDelete();
    void OnClickedExport();
    void OnClickedImport();
    LRESULT OnItemchangedDeviceList(NMHDR*);
    void OnEnter();
    void OnEscape();

    // The device list's keys and context menu, and the devices on the LAN.
    LRESULT OnKeydownDeviceList(NMHDR* header);
    LRESULT OnGetdispinfoDeviceList(NMHDR* header);
    LRESULT OnOdfinditemDeviceList(NMHDR* header);
    void OnChangeFilter();
    ui::MessageResult OnContextMenu(WPARAM window, LPARAM position);
    void OnMenuConnect();
    void OnMenuLanDevices();
    void OnMenuCreateShortcut();

    // A device named from outside: on the command line, or handed over by a second start.
    ui::MessageResult OnCopyData(WPARAM, LPARAM data);
    ui::MessageResult OnConnectNamed(WPARAM, LPARAM);
    void ConnectByName(const std::wstring& name);

    // Checking devices, only when asked: F5 and a row's menu check the selected devices (every
    // one when none is selected), the empty space's menu every one; Esc, the menu's Stop
    // checking and the close end a check. The status column's header shows its progress.
    void OnMenuCheckDevices();
    void OnMenuCheckAllDevices();
    void StartCheck(const std::vector<std::size_t>& records);
    void StopCheck();
    ui::MessageResult OnCheckProgress(WPARAM, LPARAM);
    // The status cell of the row of one device, as m_statuses has it.
    void ShowDeviceStatus(RecordId id);

    HICON m_hIcon;
    DeviceListView m_deviceList;
    SortState m_sortState;  // lives as long as the window, which is the process's life
    ControlFonts m_fonts;
    // The DPI the window is shown at, and the one it was made at with its buttons' sizes then.
    int m_dpi = kBaseDpi;
    int m_startDpi = kBaseDpi;
    std::array<Size, kButtonCount> m_startButtonSizes{};
    SharedBook m_book;  // the devices, their file, and what it held when last read or written
    DeviceTable& m_devices = m_book.Devices();
    TunnelConnection m_tunnel;
    CDiscoveryWorker m_discovery;
    CDeviceCheckWorker m_check;
    DeviceStatuses m_statuses;
    bool m_commandOpen = false;  // held by OpenCommand
    // Names to connect to, in the order they came; taken once start-up has ended.
    std::vector<std::wstring> m_namedConnects;
    bool m_started = false;
    Language m_languageId = Language::kChinese;
    const std::wstring m_programFolderPath;  // as RunningProgramFolder found it
    char m_programFolder[260] = {};
    std::string m_bookFolder;  // the program folder as UTF-8, for the address book's files
    bool m_folderSpelledInAnsi = true;
    // Export and Import: the last chosen export folder, and the file being exported or imported.
    char m_exportFolder[kTransferPathSize] = {};
    char m_transferPath[kTransferPathSize] = {};
};
