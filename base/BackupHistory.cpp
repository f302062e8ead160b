#include "base/BackupHistory.h"

#include <algorithm>

#include "base/AtomicFile.h"
#include "base/FileAccess.h"
#include "base/FileSystem.h"
#include "base/ScratchName.h"
#include "base/WidePath.h"

namespace {

constexpr std::string_view kHistoryFolder = "Backups";
constexpr std::string_view kHistoryEnd = ".bak";
// ".YYYYMMDD-HHMMSS-NN": '#' stands for a digit. Fixed width, so names sort by age.
constexpr std::string_view kStampPattern = ".########-######-##";
constexpr std::size_t kSerialDigits = 2;
constexpr int kSerials = 100;

void AppendDigits(std::string& text, int value, int width) {
    std::string digits(static_cast<std::size_t>(width), '0');
    for (int i = width - 1; i >= 0; --i, value /= 10) {
        digits[static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
    }
    text += digits;
}

bool IsHistoryName(std::string_view name, std::string_view fileName) {
    if (name.size() != fileName.size() + kStampPattern.size() + kHistoryEnd.size() ||
        !name.starts_with(fileName) || !name.ends_with(kHistoryEnd)) {
        return false;
    }
    const std::string_view stamp = name.substr(fileName.size(), kStampPattern.size());
    return std::equal(stamp.begin(), stamp.end(), kStampPattern.begin(), [](char c, char want) {
        return want == '#' ? c >= '0' && c <= '9' : c == want;
    });
}

int SerialOf(std::string_view historyName) {
    const std::string_view serial =
        historyName.substr(historyName.size() - kHistoryEnd.size() - kSerialDigits, kSerialDigits);
    return (serial[0] - '0') * 10 + (serial[1] - '0');
}

}  // namespace

std::string HistoryFolderFor(std::string_view path) {
    const std::string_view folder = FolderOf(path);
    const char separator = folder.empty() ? '/' : folder.back();
    return std::string(folder) + std::string(kHistoryFolder) + separator;
}

std::optional<std::string> HistoryPathFor(std::string_view path,
                                          const std::vector<std::string>& names,
                                          const LocalTime& when) {
    std::string stem(FileNameOf(path));
    stem += '.';
    AppendDigits(stem, when.year, 4);
    AppendDigits(stem, when.month, 2);
    AppendDigits(stem, when.day, 2);
    stem += '-';
    AppendDigits(stem, when.hour, 2);
    AppendDigits(stem, when.minute, 2);
    AppendDigits(stem, when.second, 2);
    stem += '-';
    int serial = 0;
    for (const std::string& name : names) {
        if (name.starts_with(stem) && IsHistoryName(name, FileNameOf(path))) {
            serial = std::max(serial, SerialOf(name) + 1);
        }
    }
    if (serial == kSerials) {
        return std::nullopt;
    }
    AppendDigits(stem, serial, kSerialDigits);
    std::string historyPath = HistoryFolderFor(path) + stem + std::string(kHistoryEnd);
    if (!FitsPathLimit(historyPath)) {
        return std::nullopt;
    }
    return historyPath;
}

std::vector<std::string> HistoryToRemove(std::string_view path, std::vector<std::string> names) {
    const std::string_view fileName = FileNameOf(path);
    std::erase_if(names,
                  [fileName](const std::string& name) { return !IsHistoryName(name, fileName); });
    std::sort(names.begin(), names.end());
    const std::size_t kept = kKeptBookVersions - 1;
    names.resize(names.size() > kept ? names.size() - kept : 0);
    return names;
}

void MoveBackupIntoHistory(const std::string& path) {
    const std::string backup = BackupPathFor(path);
    const std::string folder = HistoryFolderFor(path);
    if (!StampOf(backup)) {
        return;
    }
    // Named before the folder is made, so that a name too long leaves no empty folder behind.
    const std::optional<std::string> historyPath =
        HistoryPathFor(path, NamesInFolder(folder), LocalTimeNow());
    if (historyPath && MakeFolder(folder)) {
        RenameWithoutReplacing(backup, *historyPath);
    }
}

void PruneHistory(const std::string& path) {
    const std::string folder = HistoryFolderFor(path);
    for (const std::string& name : HistoryToRemove(path, NamesInFolder(folder))) {
        RemoveFile(folder + name);
    }
}
