// Replacing a file's contents so that a crash, a kill or a full disk at any moment leaves
// either the complete old file or the complete new one, and the old one kept beside it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/FileAccess.h"

enum class ReplaceOutcome {
    kReplaced,
    kFailed,     // the old file is as it was
    kOvertaken,  // stillCurrent said no: the old file is as it was
};

enum class BackupKeeping {
    kOneBackup,  // the file replaced becomes "<path>.bak"; the backup before it goes
    kHistory,    // the backup before it moves into the history (base/BackupHistory.h)
};

// Writes the bytes to a scratch file of this process's own beside the path (first removing
// any that a killed save of this computer left), forces them to disk, then swaps that file in for
// the path in one step, keeping the file it replaces as "<path>.bak" and, as `keeping` says,
// the backup before it. Fails, leaving the old file as it was, when any step fails or the old
// file is read-only; keeping history never fails it. Paths are UTF-8 (base/WidePath.h).
// stillCurrent, when given, is asked once the new bytes are on disk, just before the swap, so
// that a caller can stop a replace the file has changed under. `written` gets the stamp the
// new file has at the path.
ReplaceOutcome ReplaceFileContents(const std::string& path, std::string_view bytes,
                                   const std::function<bool()>& stillCurrent,
                                   std::optional<FileStamp>& written,
                                   BackupKeeping keeping = BackupKeeping::kOneBackup);

inline bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
    std::optional<FileStamp> written;
    return ReplaceFileContents(path, bytes, nullptr, written) == ReplaceOutcome::kReplaced;
}

// The scratch file that ReplaceFileContents writes before the swap (base/ScratchName.h).
std::string ReplacementPathFor(const std::string& path);

// Where ReplaceFileContents keeps the file it replaced. A path within four characters of
// kPathLimit (base/WidePath.h) keeps none: a name too long to make must not fail the save.
inline std::string BackupPathFor(const std::string& path) {
    return path + ".bak";
}
