// Every version of a book that saves replace can be had back: the newest is "<path>.bak" beside
// it, the older ones wait in the folder "Backups" beside it under names that sort by age,
// "AddressBook.ini.20261208-234512-01.bak" (local time, then a serial for two in one second),
// and the oldest go once there are more than the kept versions.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The .bak and the ones in Backups together.
inline constexpr std::size_t kKeptBookVersions = 10;

struct LocalTime {
    int year;
    int month;
    int day;
    int hour;
    int minute;
    int second;
};

// Now, on this computer's clock (one definition per platform).
LocalTime LocalTimeNow();

// "<folder>Backups" with a separator at its end: where the history of the book at `path` is.
std::string HistoryFolderFor(std::string_view path);

// Where the book's .bak goes into the history at `when`, given the names in the history folder:
// a serial above every one that second has taken. Nothing when that second has used all
// hundred, or when the path would not fit kPathLimit (base/WidePath.h).
std::optional<std::string> HistoryPathFor(std::string_view path,
                                          const std::vector<std::string>& names,
                                          const LocalTime& when);

// Of the names in the history folder, the ones to remove, oldest first, so that the book's
// history holds kKeptBookVersions - 1 beside its .bak. Names that are not of this book's
// history are never among them.
std::vector<std::string> HistoryToRemove(std::string_view path, std::vector<std::string> names);

// The two steps a save that keeps history adds: the .bak moves into the history before the
// file being replaced becomes the .bak, and once the new file is in place the oldest go.
// Neither can fail the save: a .bak that cannot move stays, for the save to replace it as
// it does without history.
void MoveBackupIntoHistory(const std::string& path);
void PruneHistory(const std::string& path);
