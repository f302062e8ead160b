// The two large address books that a saver killed at random switches between, and the check
// of what it leaves on disk.
#pragma once

#include <cstddef>
#include <string>

#include "addressbook/DeviceTable.h"

struct SavedBook {
    DeviceTable table;
    std::string bytes;  // FormatAddressBook(table): what a whole save leaves on disk
};

// A book of realistic devices. Generations 0 and 1 have the same names but differ in values
// of every record, so a file that mixes the two matches neither.
SavedBook MakeSavedBook(std::size_t devices, int generation);

// Which book the address book in the folder holds byte for byte, 0 or 1; -1, with a test
// failure saying what was found instead, when it is neither.
int WhichBookSurvived(const std::string& folder, const SavedBook (&books)[2]);

// True when loading the address book in the folder gives the whole table of the book; a test
// failure naming the first lost or changed device otherwise.
bool LoadsWholeBook(const std::string& folder, const SavedBook& book);
