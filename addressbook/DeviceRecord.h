// One device of the address book: nine fixed-width, zero-terminated ANSI text fields.
#pragma once

#include <type_traits>

struct DeviceRecord {
    char name[32];       // display name; also the section name in the address book
    char serverIp[64];   // direct address, empty for a device reached by its UUID
    char serverPort[8];  // HTTP port as decimal text
    char account[32];    // login user name
    char password[32];   // login password, plain text
    char uuid[128];      // cloud identifier for NAT traversal
    char uuidIp[64];     // LAN address learned after a connection through the cloud
    char uuidMac[32];    // MAC address learned together with uuidIp
    char priority[16];   // "Frame", "Quality" or empty; handed to the viewer
};

static_assert(std::is_trivially_copyable_v<DeviceRecord>, "records are copied byte for byte");
static_assert(sizeof(DeviceRecord) == 408, "the record layout is fixed");

// How a field is kept in the address-book file.
struct StoredKey {
    const char* key;           // key name in the device's section
    const char* missingValue;  // value when the key is absent on reading
    bool readBack;             // false for a key that is written but never read
};

// Calls visit(StoredKey, field) for the eight stored fields in file order. Record may be const.
template <class Record, class Visit>
void VisitStoredFields(Record& record, Visit&& visit) {
    visit(StoredKey{"SERVERIP", "192.168.1.10", true}, record.serverIp);
    visit(StoredKey{"SERVERPORT", "80", true}, record.serverPort);
    visit(StoredKey{"ACCOUNT", "admin", true}, record.account);
    visit(StoredKey{"PASSWORD", "tulpo", true}, record.password);
    visit(StoredKey{"UUID", "", true}, record.uuid);
    visit(StoredKey{"UUIDIP", "", true}, record.uuidIp);
    visit(StoredKey{"UUIDMAC", "", true}, record.uuidMac);
    visit(StoredKey{"PRIORITY", "", false}, record.priority);
}
