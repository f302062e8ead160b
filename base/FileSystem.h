// The few file-system calls that the portable parts of base/ build on (the clean-up of
// scratch files, the backup history): one definition of each per platform. Paths are UTF-8
// (base/WidePath.h).
#pragma once

#include <string>
#include <vector>

// The names in the folder (a path ending in its separator; empty for the current folder),
// without "." and ".."; none when it cannot be listed.
std::vector<std::string> NamesInFolder(const std::string& folder);

// Makes the folder; true when it is there now, made by this call or before.
bool MakeFolder(const std::string& folder);

// Gives a file another name on its volume; fails, changing nothing, where `to` is taken.
bool RenameWithoutReplacing(const std::string& from, const std::string& to);

bool RemoveFile(const std::string& path);
