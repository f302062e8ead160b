#include "base/AtomicFile.h"

#include <windows.h>

#include "base/BackupHistory.h"
#include "base/ScratchName.h"
#include "base/UniqueHandle_win32.h"
#include "base/WidePath.h"

namespace {

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk =
            bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

bool WriteScratch(const std::wstring& scratch, std::string_view bytes) {
    OwnedFile file(CreateFileW(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        return false;
    }
    const bool written = WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get());
    // Closed here rather than by the owner: a failed close is a failed write.
    return CloseHandle(file.Release()) != 0 && written;
}

// The backup is a second name of the old file (a copy where the volume has no hard links),
// made before the new file is moved over the path in one step: ReplaceFileW would rename the
// old file away first, and a kill in between leaves no book at the path.
bool KeepBackup(const std::wstring& target, const std::wstring& backup) {
    if (!DeleteFileW(backup.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
        return false;
    }
    return CreateHardLinkW(backup.c_str(), target.c_str(), nullptr) ||
           CopyFileW(target.c_str(), backup.c_str(), FALSE);
}

}  // namespace

ScratchOwner ThisScratchOwner() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &length)) {
        length = 0;
    }
    return {GetCurrentProcessId(), Utf8Path(std::wstring_view(name, length))};
}

bool ProcessRuns(unsigned long process) {
    const OwnedHandle opened(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process)));
    if (!opened.IsValid()) {
        // Another user's process may not be opened, but it is there; an id no process has
        // is refused as a bad parameter.
        return GetLastError() == ERROR_ACCESS_DENIED;
    }
    DWORD exitCode = 0;
    return GetExitCodeProcess(opened.Get(), &exitCode) && exitCode == STILL_ACTIVE;
}

LocalTime LocalTimeNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

ReplaceOutcome ReplaceFileContents(const std::string& path, std::string_view bytes,
                                   const std::function<bool()>& stillCurrent,
                                   std::optional<FileStamp>& written, BackupKeeping keeping) {
    const std::wstring target = WidePath(path);
    const std::string scratchPath = ReplacementPathFor(path);
    const std::wstring scratch = WidePath(scratchPath);
    // Windows refuses to replace a read-only file; Wine run by root would not, so the
    // attribute the user set is honoured wherever the program runs.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
    if (target.empty() || (replacing && (attributes & FILE_ATTRIBUTE_READONLY) != 0)) {
        return ReplaceOutcome::kFailed;
    }
    RemoveLeftoverScratch(path);
    if (!WriteScratch(scratch, bytes)) {
        DeleteFileW(scratch.c_str());
        return ReplaceOutcome::kFailed;
    }
    // Taken once the scratch file is closed: the move keeps it.
    written = StampOf(scratchPath);
    if (stillCurrent && !stillCurrent()) {
        DeleteFileW(scratch.c_str());
        return ReplaceOutcome::kOvertaken;
    }
    const std::string backup = BackupPathFor(path);
    const bool backingUp = replacing && FitsPathLimit(backup);
    const bool history = backingUp && keeping == BackupKeeping::kHistory;
    if (history) {
        MoveBackupIntoHistory(path);
    }
    const bool swapped = (!backingUp || KeepBackup(target, WidePath(backup))) &&
                         MoveFileExW(scratch.c_str(), target.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!swapped) {
        DeleteFileW(scratch.c_str());
        return ReplaceOutcome::kFailed;
    }
    if (history) {
        PruneHistory(path);
    }
    return ReplaceOutcome::kReplaced;
}
