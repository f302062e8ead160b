#include "base/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool CanOpenForReadingAndWriting(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return false;
    }
    // Root opens any file for writing; a file that nobody may write is still read-only here,
    // as a file with the read-only attribute is for every user on Windows.
    struct stat status {};
    const bool writable =
        ::fstat(fd, &status) == 0 && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    ::close(fd);
    return writable;
}

std::optional<FileStamp> StampOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return FileStamp{static_cast<std::uint64_t>(status.st_size),
                     static_cast<std::uint64_t>(status.st_mtim.tv_sec) * 1000000000u +
                         static_cast<std::uint64_t>(status.st_mtim.tv_nsec)};
}
