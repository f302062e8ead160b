#include "addressbook/SharedBook.h"

#include <cstring>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "addressbook/AddressBook.h"
#include "addressbook/BookMerge.h"
#include "addressbook/ProfileDocument.h"
#include "base/AtomicFile.h"
#include "base/FixedText.h"
#include "base/WholeFile.h"

namespace {

// A file that changes again between each read and the replace, this many times over, is
// being written by something that does not stop; the save gives up and says so.
constexpr int kSaveAttempts = 5;

// A hash of the bytes, so a save by someone else within the file system's time resolution
// that kept the size still shows. Eight bytes a step (FNV-1a's mixing on words), so that the
// book's megabytes cost little beside the save itself.
std::uint64_t HashOf(std::string_view bytes) {
    constexpr std::uint64_t kPrime = 1099511628211ull;
    std::uint64_t hash = 14695981039346656037ull ^ bytes.size();
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + at, 8);
        hash = (hash ^ word) * kPrime;
        hash ^= hash >> 32;
    }
    for (; at < bytes.size(); ++at) {
        hash = (hash ^ static_cast<unsigned char>(bytes[at])) * kPrime;
    }
    return hash;
}

// A file that ends inside a line or holds NUL bytes was cut short or written over by something
// that is not a profile writer (a crash mid-write, a full disk). Its part before the section in
// which that happens reads whole; that section and all after it do not, and their devices are
// taken from the last good book instead. The length of that part, or of the whole file.
std::size_t WholePartOf(std::string_view bytes) {
    // UTF-16 text, which profile readers take too, is walked in units of two bytes.
    const bool little = bytes.starts_with("\xFF\xFE");
    const bool big = bytes.starts_with("\xFE\xFF");
    const std::size_t width = little || big ? 2 : 1;
    const std::size_t first = little || big ? 2 : 0;
    const std::size_t end = first + (bytes.size() - first) / width * width;
    const auto unit = [&](std::size_t at) -> unsigned {
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
        return width == 1 ? byte(at)
               : little   ? byte(at) | byte(at + 1) << 8
                          : byte(at) << 8 | byte(at + 1);
    };
    const auto endsLine = [&](std::size_t at) { return unit(at) == '\r' || unit(at) == '\n'; };
    std::size_t damage = end;
    for (std::size_t at = first; at < end; at += width) {
        if (unit(at) == 0) {
            damage = at;
            break;
        }
    }
    if (damage == end && end == bytes.size() && (end == first || endsLine(end - width))) {
        return bytes.size();
    }
    // Back to the start of the section header line before the damage.
    for (std::size_t at = damage; at > first;) {
        at -= width;
        if (unit(at) != '[') {
            continue;
        }
        std::size_t before = at;
        while (before > first && (unit(before - width) == ' ' || unit(before - width) == '\t')) {
            before -= width;
        }
        if (before == first || endsLine(before - width)) {
            return at;
        }
    }
    return first;
}

// More than half of the devices this launcher last read or wrote gone at once is more likely
// damage than a half-emptied book.
bool MostDevicesGone(std::size_t missing, std::size_t known) {
    return missing * 2 > known;
}

// The names of the missing devices that the merged book keeps: those this launcher still has.
std::vector<std::string> KeptDevices(const DeviceTable& base,
                                     const std::vector<std::size_t>& missing,
                                     const DeviceTable& ours) {
    std::unordered_set<std::string_view, SectionNameHash, SectionNameEqual> ourNames;
    ourNames.reserve(ours.Count());
    for (std::size_t i = 0; i < ours.Count(); ++i) {
        ourNames.insert(FieldText(ours.At(i).name));
    }
    std::vector<std::string> kept;
    for (std::size_t index : missing) {
        const std::string_view name = FieldText(base.At(index).name);
        if (ourNames.contains(name)) {
            kept.emplace_back(name);
        }
    }
    return kept;
}

template <class T>
void Append(std::vector<T>& to, const std::vector<T>& from) {
    to.insert(to.end(), from.begin(), from.end());
}

}  // namespace

std::optional<ReadProblem> SharedBook::Load(const std::string& folder) {
    // Taken before the read: a change that lands during it shows later as another book.
    m_stamp = StampOf(folder + kAddressBookFileName);
    // One read gives the hash and the devices, so both are of the same bytes.
    FileRead read = ReadFileWhole(folder + kAddressBookFileName);
    m_hash = read.problem ? std::nullopt : std::optional(HashOf(read.bytes));
    std::optional<ReadProblem> problem =
        LoadAddressBook(folder, std::move(read), m_iniFile, m_devices, &m_notices.renamed);
    m_base = m_devices;
    return problem;
}

SharedBook::Saved SharedBook::Save() {
    const std::string path = m_iniFile.GetPath();
    DeviceTable& table = m_devices;
    for (int attempt = 0; attempt < kSaveAttempts; ++attempt) {
        const std::optional<FileStamp> found = StampOf(path);
        std::optional<std::string> onDisk;
        if (found) {
            FileRead read = ReadFileWhole(path);
            if (read.problem && read.problem->reason != ReadFailure::kMissing) {
                return Saved::kFailed;
            }
            if (!read.problem) {
                onDisk = std::move(read.bytes);
            }
        }
        const DeviceTable* book = &table;
        DeviceTable merged;
        BookNotices notices;
        // A book that has gone is no change of anyone's to merge: this launcher's book is it.
        if (!m_replaceWhole && onDisk && HashOf(*onDisk) != m_hash) {
            const std::size_t whole = WholePartOf(*onDisk);
            DeviceTable theirs;
            if (ReadAddressBookBytes(onDisk->substr(0, whole), theirs, &notices.renamed)) {
                return Saved::kFailed;
            }
            if (!ReadsAs(theirs, m_base)) {
                const std::vector<std::size_t> missing = DevicesMissingFrom(theirs, m_base);
                const bool damaged =
                    whole != onDisk->size() || MostDevicesGone(missing.size(), m_base.Count());
                if (damaged) {
                    for (std::size_t index : missing) {
                        theirs.Append(m_base.At(index));
                    }
                }
                merged = MergeBooks(m_base, table, theirs, &notices.renamed);
                book = &merged;
                if (damaged) {
                    notices.keptFromDamage = KeptDevices(m_base, missing, table);
                }
            }
        }
        const std::string bytes = FormatAddressBook(*book);
        std::optional<FileStamp> written = found;
        if (bytes != onDisk) {
            // The last look before the swap compares the bytes: another launcher's save of the
            // same size within one tick of the file system's clock keeps the stamp.
            const ReplaceOutcome outcome = ReplaceFileContents(
                path, bytes,
                [&] { return StampOf(path) == found && ReadWholeFile(path) == onDisk; }, written,
                BackupKeeping::kHistory);
            if (outcome == ReplaceOutcome::kFailed) {
                return Saved::kFailed;
            }
            if (outcome == ReplaceOutcome::kOvertaken) {
                continue;
            }
        }
        const bool wasMerged = book == &merged;
        if (wasMerged) {
            table = std::move(merged);
        }
        m_base = table;
        m_stamp = written;
        m_hash = HashOf(bytes);
        m_replaceWhole = false;
        Append(m_notices.renamed, notices.renamed);
        Append(m_notices.keptFromDamage, notices.keptFromDamage);
        if (wasMerged) {
            return Saved::kMerged;
        }
        return bytes == onDisk ? Saved::kUnchanged : Saved::kWritten;
    }
    return Saved::kFailed;
}

BookNotices SharedBook::TakeNotices() {
    return std::exchange(m_notices, BookNotices{});
}
