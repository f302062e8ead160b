#include "base/FileSystem.h"

#include <dirent.h>
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

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}
