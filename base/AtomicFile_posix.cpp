#include "base/AtomicFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>

#include "base/BackupHistory.h"
#include "base/ScratchName.h"
#include "base/WidePath.h"

namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

ScratchOwner ThisScratchOwner() {
    char name[HOST_NAME_MAX + 1] = {};
    ::gethostname(name, sizeof name - 1);
    return {static_cast<unsigned long>(::getpid()), name};
}

bool ProcessRuns(unsigned long process) {
    // kill() takes 0, and ids beyond pid_t that would turn negative, for process groups.
    if (process == 0 || process > static_cast<unsigned long>(INT_MAX)) {
        return false;
    }
    // Another user's process may not be signalled, but it is there.
    return ::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM;
}

LocalTime LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

ReplaceOutcome ReplaceFileContents(const std::string& path, std::string_view bytes,
                                   const std::function<bool()>& stillCurrent,
                                   std::optional<FileStamp>& written, BackupKeeping keeping) {
    // A file nobody may write is refused even to root, as Windows refuses a read-only file.
    struct stat old {};
    const bool replacing = ::stat(path.c_str(), &old) == 0;
    if (replacing && (old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return ReplaceOutcome::kFailed;
    }
    RemoveLeftoverScratch(path);
    const std::string scratch = ReplacementPathFor(path);
    const int fd = ::open(scratch.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return ReplaceOutcome::kFailed;
    }
    const bool complete = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (!(::close(fd) == 0 && complete)) {
        ::unlink(scratch.c_str());
        return ReplaceOutcome::kFailed;
    }
    written = StampOf(scratch);  // the rename keeps it
    if (stillCurrent && !stillCurrent()) {
        ::unlink(scratch.c_str());
        return ReplaceOutcome::kOvertaken;
    }
    const std::string backup = BackupPathFor(path);
    const bool backingUp = replacing && FitsPathLimit(backup);
    const bool history = backingUp && keeping == BackupKeeping::kHistory;
    if (history) {
        MoveBackupIntoHistory(path);
    }
    // The backup is a second name of the old file, so the path itself is never missing.
    if (backingUp && ((::unlink(backup.c_str()) != 0 && errno != ENOENT) ||
                      ::link(path.c_str(), backup.c_str()) != 0)) {
        ::unlink(scratch.c_str());
        return ReplaceOutcome::kFailed;
    }
    if (std::rename(scratch.c_str(), path.c_str()) != 0) {
        ::unlink(scratch.c_str());
        return ReplaceOutcome::kFailed;
    }
    if (history) {
        PruneHistory(path);
    }
    return ReplaceOutcome::kReplaced;
}
