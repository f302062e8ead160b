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

// Writes the bytes to a scratch file of this process's own beside the path (first removing
// any that a killed save of this computer left), forces them to disk, then swaps that file in for
// the path in one step, keeping the file it replaces as "<path>.bak" (one generation: an older
// backup goes). Fails, leaving the old file as it was, when any step fails or the old file is
// read-only. Paths are UTF-8 (base/WidePath.h).
// stillCurrent, when given, is asked once the new bytes are on disk, just before the swap, so
// that a caller can stop a replace the file has changed under. `written` gets the stamp the
// new file has at the path.
ReplaceOutcome ReplaceFileContents(const std::string& path, std::string_view bytes,
                                   const std::function<bool()>& stillCurrent,
                                   std::optional<FileStamp>& written);

inline bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
    std::optional<FileStamp> written;
    return ReplaceFileContents(path, bytes, nullptr, written) == ReplaceOutcome::kReplaced;
}

// The scratch file that ReplaceFileContents writes before the swap (base/ScratchName.h).
std::string ReplacementPathFor(const std::string& path);

// Where ReplaceFileContents keeps the file it replaced.
inline std::string BackupPathFor(const std::string& path) {
    return path + ".bak";
}
