// The Export and Import commands of the main window: the shell's pickers, owned by the window
// so it cannot close under them, then the address book's export or import on the path the
// user chose. Paths are UTF-8 (base/WidePath.h), so any folder the picker shows will do.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "addressbook/DeviceTable.h"
#include "addressbook/Transfer.h"

// The folder chosen in the folder picker (owned by the window, titled "Select folder"), or
// nothing when the user cancels or the chosen item has no file-system path.
std::optional<std::string> PickExportFolder(HWND owner);

// What the file-open picker (owned by the window) returns up to its first zero: the chosen
// file, or the folder when several files were chosen. Nothing when the user cancels or the
// picker fails.
std::optional<std::string> PickImportFile(HWND owner);

// Picks a folder, keeps it in exportFolder and writes <folder>\AddressBook.ini from the table,
// keeping that path in transferPath. True when the file was written.
bool ExportThroughPicker(HWND owner, const DeviceTable& table,
                         char (&exportFolder)[kTransferPathSize],
                         char (&transferPath)[kTransferPathSize]);

// Picks a file, keeps its path in transferPath and replaces the table by its devices. True
// when the table was replaced; otherwise it is as it was.
bool ImportThroughPicker(HWND owner, DeviceTable& table, char (&transferPath)[kTransferPathSize]);
