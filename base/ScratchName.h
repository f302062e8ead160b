// The scratch file a replace writes beside its file is "<path>.<process>.<computer>.new".
// Launchers on two computers may save one shared book at the same instant; with a name each
// of their own, neither can write into or swap in the other's scratch file.
// Where that name would not fit kPathLimit (base/WidePath.h) the scratch file is
// "<folder>~<ten digits>.new" instead, no longer than the book's own file name: the digits,
// in base 32, hold the process and a check of the computer and file names, so that a book
// path that fits never gets a scratch path that does not.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct ScratchOwner {
    unsigned long process;
    std::string computer;  // Windows computer names hold no dots
};

// This process on this computer (one definition per platform).
ScratchOwner ThisScratchOwner();

// Whether a process of this computer still runs, another user's included (one definition per
// platform). A process id the system has given again counts as running: its leftovers wait.
bool ProcessRuns(unsigned long process);

std::string ScratchPathFor(std::string_view path, const ScratchOwner& owner);

// The process that wrote `candidate`, when it is a scratch file of `path` (a path in the same
// folder, in either form) of another process on this computer; nothing otherwise. Only this
// computer's: another computer's may be in the middle of its save.
std::optional<unsigned long> ScratchWriter(std::string_view candidate, std::string_view path,
                                           const ScratchOwner& owner);

// Removes the scratch files of `path` that this computer's saves left when they were killed:
// those of processes that no longer run. Another user's launcher on this computer may be
// writing its own at this moment.
void RemoveLeftoverScratch(const std::string& path);

// The folder part of a path, with its last separator; empty for a bare file name.
std::string_view FolderOf(std::string_view path);
// The rest: the file name.
std::string_view FileNameOf(std::string_view path);
