// The device form of the Add and Edit dialogs, kept apart from the dialogs: its texts, the
// checks made when the user presses OK, and the copy to and from a device record.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "addressbook/DeviceTable.h"

// The form's texts, wider than the record's fields; the edits' own limits keep every value
// within its field.
struct DeviceFormFields {
    char name[64];
    char serverIp[64];
    char serverPort[64];
    char account[64];
    char password[64];
    char uuid[256];
    char priority[64];
};

// Input limits of the six edits, in bytes of the ANSI code page (a double-byte character
// counts two): name, IP, port, user name, password, UUID. Each leaves room for its field's zero.
constexpr int kNameLimit = 31;
constexpr int kServerIpLimit = 63;
constexpr int kServerPortLimit = 7;
constexpr int kAccountLimit = 31;
constexpr int kPasswordLimit = 31;
constexpr int kUuidLimit = 127;

// The priority choices, in the order of the sorted combo box.
constexpr const char* kPriorityItems[] = {"Frame", "Quality"};

enum class FormProblem {
    kNone,
    // In the order: name (blanks only count as empty), IP or UUID, port or UUID, user,
    // password, priority.
    kRequiredFieldEmpty,
    // Another record has the name, as the book tells sections apart: the case of ASCII
    // letters that are characters of their own and blanks at either end ignored.
    kDuplicateName,
};

// The first problem of the form, if any. editedIndex is the record the Edit dialog changes,
// which may keep its own name; the Add dialog passes none.
FormProblem CheckDeviceForm(const DeviceFormFields& form, const DeviceTable& devices,
                            std::optional<std::size_t> editedIndex);

// The form's seven texts over a copy of base, each cut to its field. uuidIp and uuidMac stay
// as base has them (empty for a new device) unless the UUID changes: they are where the old
// UUID's device was found, and the remembered-address check would send the new device's
// credentials there.
DeviceRecord RecordFromForm(const DeviceFormFields& form, const DeviceRecord& base);

// True when the Edit form's record differs from the record it was opened on, not counting the
// priority the form shows for it: the form selects "Frame" for an empty or unknown priority,
// and the file never gives the priority back, so an untouched form would change every record.
bool EditChangesRecord(const DeviceRecord& edited, const DeviceRecord& record);

DeviceFormFields FormFromRecord(const DeviceRecord& record);

// The combo item to select for a stored priority: "Frame" if the text contains it, else
// "Quality" if it contains that, else "Frame".
int PriorityItemFor(std::string_view priority);
