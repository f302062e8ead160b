// Merging this launcher's changes into a book that another launcher has saved meanwhile.
#pragma once

#include <cstddef>
#include <vector>

#include "addressbook/DeviceTable.h"
#include "addressbook/UniqueName.h"

// The book to save when the file no longer holds what this launcher last read or wrote.
//   base:   the book as this launcher last read or wrote it;
//   ours:   this launcher's table now; what differs from base are its own changes;
//   theirs: the book as the file holds it now.
// Devices are matched by name as the file matches sections, and merged key by key: a key
// changed on one side takes that side's value, a key changed on both (a conflict) takes ours.
// PRIORITY, which the file never gives back, is always ours. Theirs is the starting point, in
// its order; devices added here come last, in our order. A device deleted here goes, edited
// there or not; a device deleted there stays only when it was edited here (learned addresses
// alone do not bring it back). A device added on both sides under one name stays twice when
// the two differ: ours under a name of its own, listed in `renamed`. Devices that come from
// ours keep their ids.
DeviceTable MergeBooks(const DeviceTable& base, const DeviceTable& ours, const DeviceTable& theirs,
                       Renamings* renamed = nullptr);

// One device merged key by key: theirs, with every key that ours changed since was, and
// PRIORITY, which the file never gives back, taken from ours. A key changed on both sides is
// ours. (An Edit applies its form this way to the record as a merge left it meanwhile.)
DeviceRecord MergeDeviceKeys(const DeviceRecord& was, const DeviceRecord& ours,
                             const DeviceRecord& theirs);

// The indexes of base's devices that theirs lacks, as the file tells names apart, in base order.
std::vector<std::size_t> DevicesMissingFrom(const DeviceTable& theirs, const DeviceTable& base);

// True when a book read from a file is the saved table as the file gives it back (PRIORITY is
// never read), record for record in order.
bool ReadsAs(const DeviceTable& read, const DeviceTable& saved);
