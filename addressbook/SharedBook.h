// The address book as one launcher keeps it while others may save it too (two launchers on
// one shared folder, or a hand edit): the table of devices, the file it was read from, and
// what the file held then. A save merges instead of writing over their changes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "addressbook/DeviceTable.h"
#include "addressbook/IniFile.h"
#include "addressbook/UniqueName.h"
#include "base/FileAccess.h"

// What a load or a save did to keep every device, for the window to tell the user once.
struct BookNotices {
    // Devices that the file on disk had lost in a way that looked like damage (cut short,
    // NUL bytes, most devices gone at once): they were kept, and are in the file again.
    std::vector<std::string> keptFromDamage;
    std::vector<RenamedDevice> renamed;
    bool Empty() const { return keptFromDamage.empty() && renamed.empty(); }
};

class SharedBook {
public:
    // The start-up load (LoadAddressBook) from the folder's AddressBook.ini, remembering what
    // the file looked like.
    std::optional<ReadProblem> Load(const std::string& folder);

    // The devices, which the window's commands change in place.
    DeviceTable& Devices() { return m_devices; }
    // The file's path, as the load found it.
    std::string Path() const { return m_iniFile.GetPath(); }

    // An import replaced the table on purpose: the next save writes it as it stands.
    void TableReplaced() { m_replaceWhole = true; }

    enum class Saved {
        kFailed,     // the file and the table are as they were
        kUnchanged,  // the file already held these bytes: nothing was written
        kWritten,
        kMerged,  // the file had changed: the table is now the merged book the file holds
    };
    // Saves the devices to the file, first merging this launcher's changes since it last read
    // or wrote the file into what the file holds now, should that differ. A file that looks
    // damaged (cut short, NUL bytes, more than half of the devices last seen gone) loses no
    // device this launcher still has: they are kept and named in the notices. Writes nothing
    // when the file already holds the bytes; otherwise atomic, the file replaced kept with the
    // versions before it (BackupKeeping::kHistory).
    Saved Save();

    // What the last loads and saves did to keep devices, since it was last taken.
    BookNotices TakeNotices();

private:
    CIniFile m_iniFile;
    DeviceTable m_devices;
    // What the file held when this launcher last read or wrote it, its stamp and the hash of
    // its bytes then (none for no file).
    DeviceTable m_base;
    std::optional<FileStamp> m_stamp;
    std::optional<std::uint64_t> m_hash;
    bool m_replaceWhole = false;
    BookNotices m_notices;
};
