#include "base/FileSystem.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string_view>

std::vector<std::string> NamesInFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
    if (listing == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    ::closedir(listing);
    return names;
}

bool MakeFolder(const std::string& folder) {
    struct stat status {};
    return ::mkdir(folder.c_str(), 0755) == 0 ||
           (::stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode));
}

bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
    // A second name first, which fails where `to` is taken; a kill in between leaves the file
    // under both names, never under none.
    return ::link(from.c_str(), to.c_str()) == 0 && ::unlink(from.c_str()) == 0;
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}
