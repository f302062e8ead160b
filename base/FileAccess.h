// Questions asked of a file without reading it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// True when the path (UTF-8, base/WidePath.h) names an existing file that opens for reading
// and writing with both shared: false for a missing file, a folder, a read-only file or one
// that another program holds. The file is closed again at once and left as it was.
bool CanOpenForReadingAndWriting(const std::string& path);

// What a file looks like from outside: a change by anyone shows as another stamp, unless it
// kept the size and fell within the file system's time resolution.
struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t modified = 0;  // last write, in the platform's own units
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The file's stamp, or nothing when it is missing or cannot be asked.
std::optional<FileStamp> StampOf(const std::string& path);
