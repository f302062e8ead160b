// Pellix.log: the viewer's record of every command line it was started with, password masked,
// so a test can check a launch byte for byte.
#pragma once

#include <cstddef>
#include <string_view>

inline constexpr char kCommandLogFileName[] = "Pellix.log";
// The log never grows past this; when a line would take it further, the oldest lines go until
// at most half of it is left, so the file is rewritten once in many starts, not at every one.
inline constexpr std::size_t kCommandLogLimit = 1024 * 1024;

// Appends the line and CR LF to the file, creating the file when needed, and drops the oldest
// whole lines first when the limit calls for it; the file is closed again before this returns.
// False when it cannot be opened or written.
bool AppendCommandLog(const char* path, std::string_view line);
