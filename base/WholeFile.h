// Reading a file in one piece, telling "there is no such file" apart from "it is there but
// could not be read".
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>

enum class ReadFailure {
    kMissing,   // no file, or no folder on its path
    kHeld,      // another program holds it and shares no reading
    kRefused,   // access denied, or not a file
    kTooLarge,  // more bytes than this process can hold
    kIoError,   // any other failure
};

struct ReadProblem {
    ReadFailure reason;
    std::uint32_t systemError = 0;  // errno or GetLastError(), where the system gave one
};

struct FileRead {
    std::string bytes;                   // the whole file, when there is no problem
    std::optional<ReadProblem> problem;  // why there are no bytes
};

// Paths are UTF-8 (base/WidePath.h). Never throws: a buffer that cannot be had is TooLarge.
FileRead ReadFileWhole(const std::string& path);

// The whole file, or nothing when it is missing or could not be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// For the platform readers: readSome reads at most `room` bytes into `target` and returns how
// many (0 at the end of the file), or why it could not. Reads a file that had `size` bytes when
// it was opened to its end, wherever that now lies.
using ReadSome =
    std::function<std::variant<std::size_t, ReadProblem>(char* target, std::size_t room)>;
FileRead ReadToEnd(std::uint64_t size, const ReadSome& readSome);
