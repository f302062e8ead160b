// The few file-system calls that the portable parts of base/ build on (the clean-up of
// scratch files): one definition of each per platform. Paths are UTF-8
// (base/WidePath.h).
#pragma once

#include <string>
#include <vector>

// The names in the folder (a path ending in its separator; empty for the current folder),
// without "." and ".."; none when it cannot be listed.
std::vector<std::string> NamesInFolder(const std::string& folder);

bool RemoveFile(const std::string& path);
