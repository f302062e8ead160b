#include "base/ScratchName.h"

#include <charconv>
#include <cstdint>

#include "base/AtomicFile.h"
#include "base/FileSystem.h"
#include "base/WidePath.h"

namespace {

constexpr std::string_view kScratchEnd = ".new";

// The short form: '~', then kShortDigits base-32 digits of a number whose low 32 bits are the
// process and whose bits above are a check of the computer and the book's file name. 18 bits
// of check keep another computer's file from being taken for this one's but once in 262,144.
constexpr char kShortStart = '~';
constexpr std::string_view kDigits = "0123456789abcdefghijklmnopqrstuv";
constexpr int kShortDigits = 10;
constexpr int kProcessBits = 32;
constexpr std::uint64_t kCheckMask = (std::uint64_t{1} << (5 * kShortDigits - kProcessBits)) - 1;

std::uint64_t CheckOf(std::string_view computer, std::string_view fileName) {
    // FNV-1a: the same on every platform and from run to run.
    std::uint32_t hash = 2166136261u;
    const auto mix = [&hash](std::string_view text) {
        for (const char c : text) {
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        }
    };
    mix(computer);
    mix("/");  // no computer name holds one
    mix(fileName);
    return hash & kCheckMask;
}

std::string ShortScratchPathFor(std::string_view path, const ScratchOwner& owner) {
    std::uint64_t number =
        CheckOf(owner.computer, FileNameOf(path)) << kProcessBits | (owner.process & 0xFFFFFFFFu);
    std::string digits(kShortDigits, '0');
    for (int i = kShortDigits - 1; i >= 0; --i, number >>= 5) {
        digits[static_cast<std::size_t>(i)] = kDigits[number & 31];
    }
    return std::string(FolderOf(path)) + kShortStart + digits + std::string(kScratchEnd);
}

std::optional<unsigned long> ShortFormWriter(std::string_view name, std::string_view path,
                                             const ScratchOwner& owner) {
    if (name.size() != 1 + kShortDigits + kScratchEnd.size() || name[0] != kShortStart ||
        !name.ends_with(kScratchEnd)) {
        return std::nullopt;
    }
    std::uint64_t number = 0;
    for (const char c : name.substr(1, kShortDigits)) {
        const std::size_t digit = kDigits.find(c);
        if (digit == std::string_view::npos) {
            return std::nullopt;
        }
        number = number << 5 | digit;
    }
    if (number >> kProcessBits != CheckOf(owner.computer, FileNameOf(path))) {
        return std::nullopt;
    }
    return static_cast<unsigned long>(number & 0xFFFFFFFFu);
}

std::optional<unsigned long> LongFormWriter(std::string_view candidate, std::string_view path,
                                            const ScratchOwner& owner) {
    const std::string start = std::string(path) + ".";
    const std::string end = "." + owner.computer + std::string(kScratchEnd);
    if (candidate.size() <= start.size() + end.size() || !candidate.starts_with(start) ||
        !candidate.ends_with(end)) {
        return std::nullopt;
    }
    const std::string_view digits =
        candidate.substr(start.size(), candidate.size() - start.size() - end.size());
    unsigned long process = 0;
    const std::errc error =
        std::from_chars(digits.data(), digits.data() + digits.size(), process).ec;
    // Only the digits ScratchPathFor writes: nothing after them, no leading zero.
    if (error != std::errc() || digits != std::to_string(process)) {
        return std::nullopt;
    }
    return process;
}

}  // namespace

std::string ScratchPathFor(std::string_view path, const ScratchOwner& owner) {
    std::string scratch = std::string(path) + "." + std::to_string(owner.process) + "." +
                          owner.computer + std::string(kScratchEnd);
    return FitsPathLimit(scratch) ? scratch : ShortScratchPathFor(path, owner);
}

std::optional<unsigned long> ScratchWriter(std::string_view candidate, std::string_view path,
                                           const ScratchOwner& owner) {
    const std::string_view folder = FolderOf(path);
    std::optional<unsigned long> process = LongFormWriter(candidate, path, owner);
    if (!process && candidate.starts_with(folder)) {
        process = ShortFormWriter(candidate.substr(folder.size()), path, owner);
    }
    if (process == owner.process) {
        return std::nullopt;
    }
    return process;
}

void RemoveLeftoverScratch(const std::string& path) {
    const std::string folder(FolderOf(path));
    const ScratchOwner owner = ThisScratchOwner();
    for (const std::string& name : NamesInFolder(folder)) {
        const std::string candidate = folder + name;
        const std::optional<unsigned long> writer = ScratchWriter(candidate, path, owner);
        if (writer && !ProcessRuns(*writer)) {
            RemoveFile(candidate);
        }
    }
}

std::string_view FolderOf(std::string_view path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string_view::npos ? std::string_view() : path.substr(0, separator + 1);
}

std::string_view FileNameOf(std::string_view path) {
    return path.substr(FolderOf(path).size());
}

std::string ReplacementPathFor(const std::string& path) {
    return ScratchPathFor(path, ThisScratchOwner());
}
