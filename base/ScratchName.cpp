#include "base/ScratchName.h"

#include <algorithm>

#include "base/AtomicFile.h"

namespace {

constexpr std::string_view kScratchEnd = ".new";

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string ScratchPathFor(std::string_view path, const ScratchOwner& owner) {
    return std::string(path) + "." + std::to_string(owner.process) + "." + owner.computer +
           std::string(kScratchEnd);
}

bool IsLeftoverScratch(std::string_view candidate, std::string_view path,
                       const ScratchOwner& owner) {
    const std::string start = std::string(path) + ".";
    const std::string end = "." + owner.computer + std::string(kScratchEnd);
    if (candidate.size() <= start.size() + end.size() ||
        candidate.substr(0, start.size()) != start ||
        candidate.substr(candidate.size() - end.size()) != end) {
        return false;
    }
    const std::string_view process =
        candidate.substr(start.size(), candidate.size() - start.size() - end.size());
    return AllDigits(process) && process != std::to_string(owner.process);
}

std::string_view FolderOf(std::string_view path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string_view::npos ? std::string_view() : path.substr(0, separator + 1);
}

std::string ReplacementPathFor(const std::string& path) {
    return ScratchPathFor(path, ThisScratchOwner());
}
