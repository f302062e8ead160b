#include "base/WholeFile.h"

#include <cstring>
#include <new>
#include <stdexcept>

std::optional<std::string> ReadWholeFile(const std::string& path) {
    FileRead read = ReadFileWhole(path);
    if (read.problem) {
        return std::nullopt;
    }
    return std::move(read.bytes);
}

namespace {

bool ResizeForFile(std::string& bytes, std::uint64_t size) {
    if (size > bytes.max_size()) {
        return false;
    }
    try {
        bytes.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

}  // namespace

FileRead ReadToEnd(std::uint64_t size, const ReadSome& readSome) {
    FileRead read;
    if (!ResizeForFile(read.bytes, size)) {
        read.problem = ReadProblem{ReadFailure::kTooLarge};
        return read;
    }
    // Bytes past the size, if the file grew, are appended rather than room made up front:
    // the buffer of a large file is never copied to make room for a check of its end.
    std::size_t filled = 0;
    char beyond[4096];
    for (;;) {
        const bool within = filled < read.bytes.size();
        char* target = within ? read.bytes.data() + filled : beyond;
        const std::size_t room = within ? read.bytes.size() - filled : sizeof beyond;
        const std::variant<std::size_t, ReadProblem> got = readSome(target, room);
        if (const ReadProblem* problem = std::get_if<ReadProblem>(&got)) {
            read.problem = *problem;
            break;
        }
        const std::size_t count = std::get<std::size_t>(got);
        if (count == 0) {
            read.bytes.resize(filled);
            return read;
        }
        if (!within) {
            if (!ResizeForFile(read.bytes, filled + count)) {
                read.problem = ReadProblem{ReadFailure::kTooLarge};
                break;
            }
            std::memcpy(read.bytes.data() + filled, beyond, count);
        }
        filled += count;
    }
    read.bytes.clear();
    read.bytes.shrink_to_fit();
    return read;
}
