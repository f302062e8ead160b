// Reading a small file in one piece.
#pragma once

#include <optional>
#include <string>

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);
