#include "addressbook/SharedBook.h"

#include <cstring>
#include <utility>

#include "addressbook/AddressBook.h"
#include "addressbook/BookMerge.h"
#include "base/AtomicFile.h"
#include "base/WholeFile.h"

namespace {

// A file that changes again between each read and the replace, this many times over, is
// being written by something that does not stop; the save gives up and says so.
constexpr int kSaveAttempts = 5;

// A hash of the bytes, so a save by someone else within the file system's time resolution
// that kept the size still shows. Eight bytes a step (FNV-1a's mixing on words), so that the
// book's megabytes cost little beside the save itself.
std::optional<std::uint64_t> HashOf(const std::optional<std::string>& bytes) {
    if (!bytes) {
        return std::nullopt;
    }
    constexpr std::uint64_t kPrime = 1099511628211ull;
    std::uint64_t hash = 14695981039346656037ull ^ bytes->size();
    std::size_t at = 0;
    for (; at + 8 <= bytes->size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes->data() + at, 8);
        hash = (hash ^ word) * kPrime;
        hash ^= hash >> 32;
    }
    for (; at < bytes->size(); ++at) {
        hash = (hash ^ static_cast<unsigned char>((*bytes)[at])) * kPrime;
    }
    return hash;
}

}  // namespace

bool SharedBook::Unchanged(const std::string& path, const std::optional<FileStamp>& found) const {
    return found == m_stamp && HashOf(ReadWholeFile(path)) == m_hash;
}

std::optional<ReadProblem> SharedBook::Load(const std::string& folder, CIniFile& file,
                                            DeviceTable& table) {
    // Taken before the read: a change that lands during it shows later as another book.
    m_stamp = StampOf(folder + kAddressBookFileName);
    m_hash = HashOf(ReadWholeFile(folder + kAddressBookFileName));
    std::optional<ReadProblem> problem = LoadAddressBook(folder, file, table);
    m_base = table;
    return problem;
}

SharedBook::Saved SharedBook::Save(const std::string& path, DeviceTable& table) {
    for (int attempt = 0; attempt < kSaveAttempts; ++attempt) {
        const std::optional<FileStamp> found = StampOf(path);
        const DeviceTable* book = &table;
        DeviceTable merged;
        // A book that has gone is no change of anyone's to merge: this launcher's book is it.
        if (!m_replaceWhole && found && !Unchanged(path, found)) {
            CIniFile file(path);
            DeviceTable theirs;
            if (ReadAddressBook(file, theirs)) {
                return Saved::kFailed;
            }
            if (!ReadsAs(theirs, m_base)) {
                merged = MergeBooks(m_base, table, theirs);
                book = &merged;
            }
        }
        std::optional<FileStamp> written;
        const std::string bytes = FormatAddressBook(*book);
        const ReplaceOutcome outcome = ReplaceFileContents(
            path, bytes, [&] { return StampOf(path) == found; }, written);
        if (outcome == ReplaceOutcome::kFailed) {
            return Saved::kFailed;
        }
        if (outcome == ReplaceOutcome::kReplaced) {
            const bool wasMerged = book == &merged;
            if (wasMerged) {
                table = std::move(merged);
            }
            m_base = table;
            m_stamp = written;
            m_hash = HashOf(bytes);
            m_replaceWhole = false;
            return wasMerged ? Saved::kMerged : Saved::kWritten;
        }
    }
    return Saved::kFailed;
}

BookNotices SharedBook::TakeNotices() {
    return std::exchange(m_notices, BookNotices{});
}
