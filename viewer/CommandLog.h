// Pellix.log: the viewer's record of every command line it was started with, so a test can
// check a launch byte for byte.
#pragma once

#include <string_view>

inline constexpr char kCommandLogFileName[] = "Pellix.log";

// Appends the line and CR LF to the file in one write, creating the file when needed; the file
// is closed again before this returns. False when it cannot be opened or written.
bool AppendCommandLog(const char* path, std::string_view line);
