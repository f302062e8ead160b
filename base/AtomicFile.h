// Replacing a file's contents so that a crash, a kill or a full disk at any moment leaves
// either the complete old file or the complete new one.
#pragma once

#include <string>
#include <string_view>

// Writes the bytes to "<path>.new", forces them to disk, then renames that file over the
// path in one step. Returns false, leaving the old file as it was, when any step fails.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

// The scratch file that ReplaceFileContents writes before the swap.
inline std::string ReplacementPathFor(const std::string& path) {
    return path + ".new";
}
