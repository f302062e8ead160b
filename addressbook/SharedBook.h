// The address book file as one launcher keeps it while others may save it too: two launchers
// on one shared folder, or a hand edit. A save merges instead of writing over their changes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "addressbook/DeviceTable.h"
#include "addressbook/IniFile.h"
#include "base/FileAccess.h"

class SharedBook {
public:
    // The start-up load (LoadAddressBook), remembering what the file looked like.
    std::optional<ReadProblem> Load(const std::string& folder, CIniFile& file, DeviceTable& table);

    // An import replaced the table on purpose: the next save writes it as it stands.
    void TableReplaced() { m_replaceWhole = true; }

    enum class Saved {
        kFailed,  // the file and the table are as they were
        kWritten,
        kMerged,  // the file had changed: the table is now the merged book the file holds
    };
    // Saves the table to the file, first merging this launcher's changes since it last read
    // or wrote the file into what the file holds now, should that differ. Atomic; the file
    // replaced stays as the .bak.
    Saved Save(const std::string& path, DeviceTable& table);

private:
    // Whether the file, found with this stamp, still holds what this launcher last read or
    // wrote.
    bool Unchanged(const std::string& path, const std::optional<FileStamp>& found) const;

    // What the file held when this launcher last read or wrote it, its stamp and the hash of
    // its bytes then (none for no file).
    DeviceTable m_base;
    std::optional<FileStamp> m_stamp;
    std::optional<std::uint64_t> m_hash;
    bool m_replaceWhole = false;
};
