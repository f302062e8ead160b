// The scratch file a replace writes beside its file is "<path>.<process>.<computer>.new".
// Launchers on two computers may save one shared book at the same instant; with a name each
// of their own, neither can write into or swap in the other's scratch file.
#pragma once

#include <string>
#include <string_view>

struct ScratchOwner {
    unsigned long process;
    std::string computer;  // Windows computer names hold no dots
};

// This process on this computer (one definition per platform).
ScratchOwner ThisScratchOwner();

std::string ScratchPathFor(std::string_view path, const ScratchOwner& owner);

// Whether `candidate`, a path in the same folder written the same way, is a scratch file of
// `path` that another process of this computer left behind, killed mid-save. Only this
// computer's: another computer's may be in the middle of its save.
bool IsLeftoverScratch(std::string_view candidate, std::string_view path,
                       const ScratchOwner& owner);

// The folder part of a path, with its last separator; empty for a bare file name.
std::string_view FolderOf(std::string_view path);
