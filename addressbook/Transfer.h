// Copies of the address book in other places: an export writes the table in the layout of
// the saved book, an import replaces the table by the devices of a file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "addressbook/DeviceTable.h"

// Room for the path of an exported or imported file, terminating zero included.
constexpr std::size_t kTransferPathSize = 260;

// The export file of a folder: <folder>\AddressBook.ini, with a single backslash also after a
// folder that already ends in one (a drive's root).
std::string ExportFilePath(std::string_view folder);

// Copies the path into a path member only when it fits whole with its terminating zero; a
// path cut to fit would name another file. False leaves the member as it was.
bool StoreTransferPath(char (&member)[kTransferPathSize], std::string_view path);

// Writes the table, PRIORITY included, into the file through the save's atomic replace, so a
// failed export never leaves a half-written file and a file it replaces stays as <path>.bak. False,
// and nothing written, when the path does not fit kTransferPathSize or the file cannot be written.
bool ExportAddressBook(const std::string& path, const DeviceTable& table);

// Replaces the whole table by the devices of the file, in file order, read as at start-up
// (PRIORITY is not read). A file without sections gives an empty table. False, and the table
// unchanged, when the file cannot be opened for reading and writing or not be read whole.
bool ImportAddressBook(const std::string& path, DeviceTable& table);
