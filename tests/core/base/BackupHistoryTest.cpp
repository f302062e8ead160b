// The history of replaced books: dated names that sort by age, the last ten versions kept
// between the .bak and the Backups folder, and no save failed for their sake.
#include "base/BackupHistory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/AtomicFile.h"
#include "base/WholeFile.h"
#include "base/WidePath.h"
#include "support/ScratchFolder.h"

namespace {

namespace fs = std::filesystem;

constexpr char kBook[] = "AddressBook.ini";

ReplaceOutcome ReplaceKeepingHistory(const std::string& path, const std::string& bytes) {
    std::optional<FileStamp> written;
    return ReplaceFileContents(path, bytes, nullptr, written, BackupKeeping::kHistory);
}

TEST(BackupHistoryTest, NameSaysTheSecondAndASerialAboveItsOthers) {
    const char* const path = "C:\\T\\AddressBook.ini";
    const std::pair<std::vector<std::string>, std::optional<std::string>> cases[] = {
        {{}, "C:\\T\\Backups\\AddressBook.ini.20260108-030405-00.bak"},
        {{"AddressBook.ini.20260108-030405-00.bak", "AddressBook.ini.20260108-030405-02.bak"},
         "C:\\T\\Backups\\AddressBook.ini.20260108-030405-03.bak"},
        // Other seconds, other books and other names leave the serial alone.
        {{"AddressBook.ini.20260108-030404-05.bak", "Other.ini.20260108-030405-00.bak",
          "AddressBook.ini.20260108-030405-0x.bak"},
         "C:\\T\\Backups\\AddressBook.ini.20260108-030405-00.bak"},
        {{"AddressBook.ini.20260108-030405-99.bak"}, std::nullopt},
    };
    for (const auto& [names, expected] : cases) {
        EXPECT_EQ(HistoryPathFor(path, names, {2026, 1, 8, 3, 4, 5}), expected) << names.size();
    }
}

TEST(BackupHistoryTest, ElevenReplacesLeaveTheTenVersionsBeforeTheLastInOrder) {
    ScratchFolder folder;
    const std::string path = folder.File(kBook);
    fs::create_directory(folder.File("Backups"));
    // Only the book's own history is pruned.
    const std::string others[] = {"Other.ini.20000101-000000-00.bak", "notes.txt",
                                  "AddressBook.ini.2000-01-01.bak"};
    for (const std::string& other : others) {
        folder.Write("Backups/" + other, "other");
    }
    folder.Write(kBook, "version 0");
    std::string expected;
    for (std::size_t version = 1; version <= 11; ++version) {
        ASSERT_EQ(ReplaceKeepingHistory(path, "version " + std::to_string(version)),
                  ReplaceOutcome::kReplaced);
        expected += version < kKeptBookVersions ? "version " + std::to_string(version) + ";" : "";
    }
    EXPECT_EQ(ReadWholeFile(path), "version 11");
    EXPECT_EQ(ReadWholeFile(BackupPathFor(path)), "version 10");
    std::map<std::string, std::string> backups;  // by name, so oldest first
    for (const auto& entry : fs::directory_iterator(folder.File("Backups"))) {
        backups[entry.path().filename().string()] = *ReadWholeFile(entry.path().string());
    }
    for (const std::string& other : others) {
        EXPECT_EQ(backups[other], "other") << other;
        backups.erase(other);
    }
    std::string kept;
    for (const auto& [name, bytes] : backups) {
        kept += bytes + ";";
    }
    EXPECT_EQ(kept, expected);
}

TEST(BackupHistoryTest, BackupOrHistoryThatCannotBeKeptNeverFailsTheSave) {
    struct Case {
        const char* what;
        std::size_t pathLength;  // 0: the scratch folder's own
        bool backupFile;         // a file where the Backups folder would be
        std::optional<std::string> backup;
    };
    const Case cases[] = {
        {"Backups is a file", 0, true, "first"},
        {"history name too long", kPathLimit - 20, false, "first"},
        {"backup name just fits", kPathLimit - 5, false, "first"},
        {"backup name too long", kPathLimit - 4, false, std::nullopt},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        const std::string path =
            c.pathLength ? folder.FileAtLength(kBook, c.pathLength) : folder.File(kBook);
        const std::string history = HistoryFolderFor(path);
        if (c.backupFile) {
            folder.Write("Backups", "mine");
        }
        folder.Write(path.substr(folder.Folder().size()), "zero");
        ASSERT_TRUE(ReplaceFileContents(path, "first")) << c.what;
        EXPECT_EQ(ReplaceKeepingHistory(path, "second"), ReplaceOutcome::kReplaced) << c.what;
        EXPECT_EQ(ReadWholeFile(path), "second") << c.what;
        EXPECT_EQ(ReadWholeFile(BackupPathFor(path)), c.backup) << c.what;
        EXPECT_EQ(fs::is_directory(history), false) << c.what;
    }
}

}  // namespace
