// Every text the launcher chooses at run time, in English and in Traditional Chinese side by
// side. The texts are UTF-16 and reach the screen through the wide-character calls, so they
// read right whatever the system's ANSI code page is.
#pragma once

#include "texts/Language.h"

struct UiText {
    const wchar_t* english;
    const wchar_t* chinese;
};

constexpr const wchar_t* InLanguage(const UiText& text, Language language) {
    return language == Language::kEnglish ? text.english : text.chinese;
}

namespace texts {

inline constexpr UiText kMessageCaption{L"Message", L"訊息"};
inline constexpr UiText kWindowTitle{L"Tavrin", L"Tavrin 遠端監看"};
inline constexpr UiText kLowMemory{L"Your available system memory is less than 15 percent.",
                                   L"您電腦系統的記憶體使用率已超過85%。"};
inline constexpr UiText kStartError{L"Start application error. Please restart application.",
                                    L"開啟應用程式錯誤，請重新開啟應用程式。"};
inline constexpr UiText kInitNatFailed{L"Init NAT failed.", L"初始化NAT失敗。"};
// The line under kInitNatFailed when the library could not be loaded at all, as when only
// Tavrin.exe was copied somewhere; "%ls" stands for the folder it was looked for in.
inline constexpr UiText kNatLibraryNotLoaded{
    L"KXC_IE_NATT.dll could not be loaded from %ls. It must be in the same folder as Tavrin.exe.",
    L"無法從 %ls 載入 KXC_IE_NATT.dll。它必須與 Tavrin.exe 放在同一個資料夾。"};

// The address book on disk. "%ls" stands for the file's path, then for the reason.
inline constexpr UiText kBookUnreadable{
    L"The address book %ls could not be read: %ls\n\nThe file has been left as it is. Tavrin "
    L"will close now; start it again once the file can be read.",
    L"無法讀取通訊錄 %ls：%ls\n\n檔案保持原狀，未被更改。Tavrin "
    L"即將關閉，請在檔案可讀取後再重新開啟。"};
inline constexpr UiText kBookHeld{L"another program is using it.", L"另一個程式正在使用此檔案。"};
inline constexpr UiText kBookRefused{L"access to it is denied.", L"沒有存取此檔案的權限。"};
inline constexpr UiText kBookTooLarge{L"it is too large to read into memory.",
                                      L"檔案太大，無法讀入記憶體。"};
inline constexpr UiText kBookReadError{L"reading it failed (error %lu).",
                                       L"讀取檔案時發生錯誤（錯誤碼 %lu）。"};
inline constexpr UiText kBookNotSaved{
    L"The address book %ls could not be saved. The file on disk is as it was before.",
    L"無法儲存通訊錄 %ls。磁碟上的檔案維持原來的內容。"};
// Asked at close, with Retry and Cancel: a close that went on would lose the changes.
inline constexpr UiText kBookNotSavedAtClose{
    L"The address book %ls could not be saved, so closing now would lose the changes made since "
    L"it was last saved.\n\nRetry to save it again, or Cancel to keep Tavrin open.",
    L"無法儲存通訊錄 %ls，現在關閉將會遺失上次儲存之後的變更。\n\n"
    L"按「重試」再儲存一次，或按「取消」讓 Tavrin 保持開啟。"};
// What a load or a save did to keep every device, told once: the devices, one a line, follow
// each heading; "%ls" stands for a device's name, then for its new name; "%d" for the
// number of devices not listed.
inline constexpr UiText kBookKeptFromDamage{
    L"The address book on disk looked damaged (cut short, or most devices gone at once), so "
    L"these devices were kept and saved in it again:",
    L"磁碟上的通訊錄看起來已損壞（內容不完整，或大部分裝置同時消失），"
    L"因此保留了下列裝置並重新存入："};
inline constexpr UiText kBookRenamed{
    L"These devices were given a name of their own, so that two devices do not become one:",
    L"下列裝置已改用各自的名稱，以免兩個裝置合併成一個："};
inline constexpr UiText kRenamedDevice{L"\"%ls\" is now \"%ls\"", L"「%ls」現在名為「%ls」"};
inline constexpr UiText kMoreDevices{L"... and %d more.", L"……以及其他 %d 個。"};
// "%ls" stands for the folder.
inline constexpr UiText kFolderNotInCodePage{
    L"The name of Tavrin's folder %ls cannot be written in this system's language settings. "
    L"The address book works, but the viewer cannot be started from this folder; move Tavrin "
    L"to a folder whose name uses only letters of the system's language.",
    L"Tavrin 所在資料夾 %ls 的名稱無法以本系統的語言設定表示。通訊錄可以正常使用，但無法從此資料夾"
    L"啟動觀看程式；請將 Tavrin 移到名稱只使用系統語言文字的資料夾。"};

inline constexpr UiText kAddButton{L"Add", L"新增"};
inline constexpr UiText kDeleteButton{L"Delete", L"刪除"};
inline constexpr UiText kEditButton{L"Edit", L"編輯"};
inline constexpr UiText kExportButton{L"Export", L"匯出"};
inline constexpr UiText kImportButton{L"Import", L"匯入"};

// The device forms and the commands that use them.
inline constexpr UiText kAddDeviceCaption{L"Add Device", L"新增裝置"};
inline constexpr UiText kEditDeviceCaption{L"Edit Device", L"編輯裝置"};
inline constexpr UiText kDeviceNameLabel{L"Device Name:", L"裝置名稱："};
inline constexpr UiText kDeviceIpLabel{L"Device IP:", L"裝置 IP："};
inline constexpr UiText kPortLabel{L"Port:", L"埠："};
inline constexpr UiText kUsernameLabel{L"Username:", L"帳號："};
inline constexpr UiText kPasswordLabel{L"Password:", L"密碼："};
inline constexpr UiText kOkButton{L"OK", L"確定"};
inline constexpr UiText kCancelButton{L"CANCEL", L"取消"};
inline constexpr UiText kRequiredFieldEmpty{L"The required field cannot be empty.",
                                            L"必填欄位不能為空。"};
inline constexpr UiText kDeviceNameExists{L"The device name is exist.", L"設備名字已存在。"};
inline constexpr UiText kSelectOneDevice{L"Please select one device at least.",
                                         L"請至少選擇一個設備。"};
inline constexpr UiText kConfirmDelete{L"Are you sure to delete devices?", L"您確定要刪除設備嗎？"};
// A device that a save merging another launcher's book took away while a form or question
// about it was open. "%ls" stands for its name.
inline constexpr UiText kDeviceGone{
    L"The device \"%ls\" is no longer in the address book: another Tavrin sharing the file has "
    L"deleted or renamed it. Nothing has been changed.",
    L"通訊錄中已沒有裝置「%ls」：共用此檔案的另一個 Tavrin 已將它刪除或改名。未做任何變更。"};

// The outcome of Export and Import; a cancelled picker counts as a failure.
inline constexpr UiText kExportSucceeded{L"Export file is successful.", L"匯出檔案成功。"};
inline constexpr UiText kExportFailed{L"Export file is failed.", L"匯出檔案失敗。"};
inline constexpr UiText kImportSucceeded{L"Import file is successful.", L"匯入檔案成功。"};
inline constexpr UiText kImportFailed{L"Import file is failed.", L"匯入檔案失敗。"};

// Connecting to a device. "%d" stands for the NAT library's error code.
inline constexpr UiText kDeviceNotExist{L"Device is not exist.(15)", L"設備不存在。(15)"};
inline constexpr UiText kCaptchaError{L"Captcha error.(17)", L"認證碼錯誤。(17)"};
inline constexpr UiText kConnectFailed{L"Connect failed.(%d)", L"連線失敗。(%d)"};
inline constexpr UiText kCommandLineTooLong{
    L"The device's details are too long to start the viewer.", L"裝置資料過長，無法啟動觀看程式。"};

// The About box's second line.
inline constexpr UiText kAboutProgramLine{L"Tavrin remote viewing launcher",
                                          L"Tavrin 遠端監看程式"};

// The device list's context menu: each item with the key that does the same beside it.
inline constexpr UiText kMenuConnect{L"&Connect\tEnter", L"連線(&C)\tEnter"};
inline constexpr UiText kMenuEdit{L"&Edit\tF2", L"編輯(&E)\tF2"};
inline constexpr UiText kMenuDelete{L"&Delete\tDel", L"刪除(&D)\tDel"};
inline constexpr UiText kMenuAdd{L"&Add\tCtrl+N", L"新增(&A)\tCtrl+N"};
inline constexpr UiText kMenuLanDevices{L"Devices on this &LAN...", L"區域網路上的裝置(&L)..."};
inline constexpr UiText kMenuCreateShortcut{L"Create desktop s&hortcut", L"建立桌面捷徑(&H)"};
inline constexpr UiText kShortcutNotMade{L"The shortcut could not be made on the desktop.",
                                         L"無法在桌面上建立捷徑。"};
// A device named on the command line (--connect) that the book does not have; "%ls" is the name.
inline constexpr UiText kNoDeviceNamed{L"There is no device named \"%ls\" in the address book.",
                                       L"通訊錄中沒有名為「%ls」的裝置。"};
// Checking devices: the selected ones from a row's menu (and F5), every one from empty space,
// and the item that takes their place while a check runs.
inline constexpr UiText kMenuCheckDevices{L"Chec&k devices\tF5", L"檢查裝置(&K)\tF5"};
inline constexpr UiText kMenuCheckAll{L"Chec&k all devices", L"檢查所有裝置(&K)"};
inline constexpr UiText kMenuStopCheck{L"&Stop checking\tEsc", L"停止檢查(&S)\tEsc"};

// The devices the LAN search found. "%d" stands for their number.
inline constexpr UiText kLanCaption{L"Devices on this LAN", L"區域網路上的裝置"};
inline constexpr UiText kLanSearching{L"Searching the LAN...", L"正在搜尋區域網路..."};
inline constexpr UiText kLanFound{L"Devices found: %d", L"找到的裝置：%d"};
inline constexpr UiText kLanSearchAgain{L"&Search again", L"重新搜尋(&S)"};
inline constexpr UiText kLanAdd{L"&Add...", L"新增(&A)..."};
inline constexpr UiText kLanClose{L"Close", L"關閉"};
inline constexpr UiText kLanNameColumn{L"Name", L"名稱"};
inline constexpr UiText kLanIpColumn{L"IP Address", L"IP 位址"};
inline constexpr UiText kLanPortColumn{L"Port", L"埠"};
inline constexpr UiText kLanMacColumn{L"MAC Address", L"MAC 位址"};
inline constexpr UiText kLanBookColumn{L"Address Book", L"通訊錄"};
inline constexpr UiText kLanInBook{L"In the book", L"已在通訊錄中"};
inline constexpr UiText kLanNew{L"New", L"新裝置"};
inline constexpr UiText kLanAddAllNew{L"Add all &new...", L"新增全部新裝置(&N)..."};

// The cue in the device list's filter box while it is empty.
inline constexpr UiText kFilterCue{L"Filter", L"篩選"};

inline constexpr UiText kDeviceNameColumn{L"Device Name", L"裝置名稱"};
inline constexpr UiText kDeviceIpColumn{L"Device IP", L"裝置 IP"};
inline constexpr UiText kPortColumn{L"Port", L"埠"};
inline constexpr UiText kUuidColumn{L"UUID", L"UUID"};

// The device list's fifth column, there once a check has run, and what it says of a device.
// While a check runs its header counts the devices checked, short enough to be read there:
// "%d" for them, then for all.
inline constexpr UiText kStatusColumn{L"Status", L"狀態"};
inline constexpr UiText kCheckProgress{L"%d of %d", L"%d / %d"};
inline constexpr UiText kStatusOk{L"OK", L"正常"};
inline constexpr UiText kStatusWrongPassword{L"Wrong password", L"密碼錯誤"};
inline constexpr UiText kStatusNoAnswer{L"No answer", L"沒有回應"};
inline constexpr UiText kStatusOnLan{L"On the LAN", L"在區域網路上"};
inline constexpr UiText kStatusNotOnLan{L"Not on the LAN", L"不在區域網路上"};

}  // namespace texts
