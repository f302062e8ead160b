// The address book file: device table <-> profile file with one section per device.
#pragma once

#include <optional>
#include <string>

#include "addressbook/DeviceTable.h"
#include "addressbook/IniFile.h"
#include "addressbook/UniqueName.h"

constexpr const char kAddressBookFileName[] = "AddressBook.ini";

// Appends one record per section of the file, in file order. Every field is cut to its width,
// between two characters of the ANSI code page; names and values are not validated, and
// PRIORITY is not read. A name the file has twice (in any letter case) is one section to every
// profile reader, and one device. But two names that only the cut or the code page make one
// (alike in their first 31 bytes, UTF-16 names that both read as "??") would be saved as one
// device: the later one gets a name of its own (UniqueDeviceName) and the values of its own
// section. Returns those renamings.
Renamings ReadDeviceSections(CIniFile& file, DeviceTable& table);

// Reads the whole file and replaces the table by its devices, adding the renamings
// ReadDeviceSections made to `renamed` when given. Nothing when that was done; otherwise why
// the file could not be read (Missing included), and the table is as it was.
std::optional<ReadProblem> ReadAddressBook(CIniFile& file, DeviceTable& table,
                                           Renamings* renamed = nullptr);

// ReadAddressBook on bytes already read from a book.
std::optional<ReadProblem> ReadAddressBookBytes(std::string bytes, DeviceTable& table,
                                                Renamings* renamed = nullptr);

// Points the file at <folder>AddressBook.ini (the folder keeps its trailing backslash, UTF-8)
// and reads it into the empty table. No book yet is an empty table; a book that is there but
// could not be read leaves the table empty and says why.
std::optional<ReadProblem> LoadAddressBook(const std::string& folder, CIniFile& file,
                                           DeviceTable& table, Renamings* renamed = nullptr);

// LoadAddressBook on the read already made of that file (ReadFileWhole).
std::optional<ReadProblem> LoadAddressBook(const std::string& folder, FileRead read, CIniFile& file,
                                           DeviceTable& table, Renamings* renamed = nullptr);

// The bytes of the address book as it is stored: the table's records in order, each with
// its eight keys. Records whose names the file keeps as one section (IsSameSectionName)
// share it, with the last one's values, as the platform's profile writer has them.
std::string FormatAddressBook(const DeviceTable& table,
                              const AnsiCodePage& codePage = SystemCodePage());

// Writes the whole address book beside the old file and swaps it in, so that the file on disk
// is always either the old one or the new one, and the old one stays as <path>.bak. False
// (old file untouched) on any failure.
bool WriteAddressBook(const std::string& path, const DeviceTable& table);
