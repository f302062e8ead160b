#include "base/WholeFile.h"

#include <cstdio>
#include <memory>

std::optional<std::string> ReadWholeFile(const std::string& path) {
    // One read of the whole size: a file of devices is read at start-up, and stream iterators
    // would take a byte at a time.
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) {
        return std::nullopt;
    }
    std::string bytes;
    char chunk[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        bytes.append(chunk, got);
    }
    if (std::ferror(file.get())) {
        return std::nullopt;
    }
    return bytes;
}
