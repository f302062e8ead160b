#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/WholeFile.h"

namespace {

ReadProblem ProblemOf(int error) {
    const auto code = static_cast<std::uint32_t>(error);
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return {ReadFailure::kMissing, code};
        case EACCES:
        case EPERM:
        case EISDIR:
            return {ReadFailure::kRefused, code};
        case ENOMEM:
            return {ReadFailure::kTooLarge, code};
        default:
            return {ReadFailure::kIoError, code};
    }
}

}  // namespace

FileRead ReadFileWhole(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return FileRead{{}, ProblemOf(errno)};
    }
    struct stat status {};
    FileRead read;
    if (::fstat(fd, &status) != 0) {
        read.problem = ProblemOf(errno);
    } else if (!S_ISREG(status.st_mode)) {
        read.problem = ProblemOf(EISDIR);
    } else {
        read = ReadToEnd(
            static_cast<std::uint64_t>(status.st_size),
            [fd](char* target, std::size_t room) -> std::variant<std::size_t, ReadProblem> {
                for (;;) {
                    const ssize_t got = ::read(fd, target, room);
                    if (got >= 0) {
                        return static_cast<std::size_t>(got);
                    }
                    if (errno != EINTR) {
                        return ProblemOf(errno);
                    }
                }
            });
    }
    ::close(fd);
    return read;
}
