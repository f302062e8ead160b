// The Export and Import commands of the main window: the shell's pickers, owned by the window
// so it cannot close under them, then the address book's export or import on the path the
// user chose. Paths are UTF-8 (base/WidePath.h), so any folder the picker shows will do.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "addressbook/DeviceTable.h"
#include "addressbook/Transfer.h"

// The folder chosen in the folder picker (owned by the window, titled "Select folder"), or
// nothing when the user cancels or the chosen item has no file-system path.
std::optional<std::string> PickExportFolder(HWND owner);

// What the file-open picker (owned by the window) returns up to its first zero: the chosen
// file, or the folder when several files were chosen. Nothing when the user cancels or the
// picker fails.
std::optional<std::string> PickImportFile(HWND owner);

// Picks a folder, keeps it in exportFolder and the path of its <folder>\AddressBook.ini in
// transferPath. False when the user cancels or a path does not fit.
bool PickExportFile(HWND owner, char (&exportFolder)[kTransferPathSize],
                    char (&transferPath)[kTransferPathSize]);

// Whether two paths (UTF-8) name one file as Windows spells names: "/" or "\" between the
// parts, letters in either case.
bool IsSameFilePath(std::string_view first, std::string_view second);

// Picks a file, keeps its path in transferPath and replaces the table by its devices. True
// when the table was replaced; otherwise it is as it was.
bool ImportThroughPicker(HWND owner, DeviceTable& table, char (&transferPath)[kTransferPathSize]);
