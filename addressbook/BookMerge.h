// Merging this launcher's changes into a book that another launcher has saved meanwhile.
#pragma once

#include "addressbook/DeviceTable.h"

// The book to save when the file no longer holds what this launcher last read or wrote.
//   base:   the book as this launcher last read or wrote it;
//   ours:   this launcher's table now; what differs from base are its own changes;
//   theirs: the book as the file holds it now.
// Devices are matched by name as the file matches sections. Theirs is the starting point, in
// its order; ours changes it device by device: added and edited devices take our record (a
// device whose uuidIp and uuidMac alone changed takes those two from ours and the rest from
// theirs), deleted ones go, and devices added here come last, in our order. Where both sides
// changed one device, ours wins: an edit here keeps a device deleted there, and a delete here
// removes a device edited there. Only addresses learned for a device deleted there do not
// bring it back.
DeviceTable MergeBooks(const DeviceTable& base, const DeviceTable& ours, const DeviceTable& theirs);

// True when a book read from a file is the saved table as the file gives it back (PRIORITY is
// never read), record for record in order.
bool ReadsAs(const DeviceTable& read, const DeviceTable& saved);
