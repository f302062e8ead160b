// Replacing a file's contents so that a crash, a kill or a full disk at any moment leaves
// either the complete old file or the complete new one, and the old one kept beside it.
#pragma once

#include <string>
#include <string_view>

// Writes the bytes to "<path>.new", forces them to disk, then swaps that file in for the
// path in one step, keeping the file it replaces as "<path>.bak" (one generation: an older
// backup goes). Returns false, leaving the old file as it was, when any step fails or the old
// file is read-only. Paths are UTF-8 (base/WidePath.h).
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

// The scratch file that ReplaceFileContents writes before the swap.
inline std::string ReplacementPathFor(const std::string& path) {
    return path + ".new";
}

// Where ReplaceFileContents keeps the file it replaced.
inline std::string BackupPathFor(const std::string& path) {
    return path + ".bak";
}
