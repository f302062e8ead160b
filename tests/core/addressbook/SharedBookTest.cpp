#include "addressbook/SharedBook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "addressbook/AddressBook.h"
#include "addressbook/BookMerge.h"
#include "base/AtomicFile.h"
#include "base/WholeFile.h"
#include "support/ScratchFolder.h"
#include "support/TestDevice.h"

namespace {

// A book written as "Name:ip Name:ip:uuidIp:uuidMac ...", every other field left empty.
DeviceTable Book(const std::string& text) {
    DeviceTable table;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        std::vector<std::string> parts;
        std::istringstream fields(word);
        for (std::string part; std::getline(fields, part, ':');) {
            parts.push_back(part);
        }
        parts.resize(4);
        table.Append(MakeDevice(
            {.name = parts[0], .serverIp = parts[1], .uuidIp = parts[2], .uuidMac = parts[3]}));
    }
    return table;
}

std::string Text(const DeviceTable& table) {
    std::string text;
    for (std::size_t i = 0; i < table.Count(); ++i) {
        const DeviceRecord& r = table.At(i);
        text += (text.empty() ? "" : " ") + std::string(FieldText(r.name)) + ":" +
                std::string(FieldText(r.serverIp));
        if (!FieldText(r.uuidIp).empty() || !FieldText(r.uuidMac).empty()) {
            text +=
                ":" + std::string(FieldText(r.uuidIp)) + ":" + std::string(FieldText(r.uuidMac));
        }
    }
    return text;
}

struct MergeCase {
    const char* what;
    const char* base;
    const char* ours;
    const char* theirs;
    const char* merged;
};

// Ours is this launcher's table, theirs what another launcher saved meanwhile.
const MergeCase kMergeCases[] = {
    {"nothing changed there", "A:1 B:2", "A:1 B:9 C:3", "A:1 B:2", "A:1 B:9 C:3"},
    {"each side adds one", "A:1", "A:1 C:3", "A:1 B:2", "A:1 B:2 C:3"},
    {"each side edits one", "A:1 B:2 C:3", "A:1 B:2 C:8", "A:1 B:9 C:3", "A:1 B:9 C:8"},
    {"each side deletes one", "A:1 B:2 C:3", "A:1 B:2", "A:1 C:3", "A:1"},
    {"adds, edits and deletes on both sides", "A:1 B:2 C:3 D:4", "A:7 B:2 D:4 E:5",
     "A:1 B:2 C:3 F:6", "A:7 B:2 F:6 E:5"},
    {"both edit one device: ours wins", "A:1 B:2", "A:1 B:8", "A:1 B:9", "A:1 B:8"},
    // Two devices never become one: ours gets a name of its own.
    {"both add one name, in other case", "A:1", "A:1 cam:8", "A:1 CAM:9", "A:1 CAM:9 cam (2):8"},
    {"both add one device", "A:1", "A:1 C:3", "A:1 C:3", "A:1 C:3"},
    {"renamed here onto a name added there", "A:1 B:2", "A:1 C:2", "A:1 B:2 C:7",
     "A:1 C:7 C (2):2"},
    // Each key on its own: a conflict is one key changed on both sides.
    {"each side edits another key of one device", "A:1 B:2:L0:M0", "A:1 B:8:L0:M0", "A:1 B:2:L1:M0",
     "A:1 B:8:L1:M0"},
    // Ours wins over a deletion too: the device stays with our edit.
    {"edited here, deleted there", "A:1 B:2", "A:1 B:8", "A:1", "A:1 B:8"},
    {"deleted here, edited there", "A:1 B:2", "A:1", "A:1 B:9", "A:1"},
    {"renamed here, edited there", "A:1 B:2 C:3", "A:1 B2:2 C:3", "A:1 B:9 C:3", "A:1 C:3 B2:2"},
    // Learned addresses are an edit of those two keys only.
    {"learned here, edited there", "A:1 B:2", "A:1 B:2:10.0.0.9:M1", "A:1 B:9",
     "A:1 B:9:10.0.0.9:M1"},
    {"learned on both sides: ours", "A:1 B:2:L0:M0", "A:1 B:2:L1:M1", "A:1 B:2:L2:M2",
     "A:1 B:2:L1:M1"},
    {"learned here, deleted there", "A:1 B:2", "A:1 B:2:10.0.0.9:M1", "A:1", "A:1"},
    {"imported there: a new book, our changes on top", "A:1 B:2 C:3", "A:7 B:2 C:3 D:4", "X:1 Y:2",
     "X:1 Y:2 A:7 D:4"},
    {"a name the file keeps once", "A:1 a:2", "A:1 a:2 C:3", "B:5 A:1 a:2", "B:5 a:2 C:3"},
};

TEST(SharedBookTest, MergeAppliesOurChangesToTheirs) {
    for (const MergeCase& c : kMergeCases) {
        EXPECT_EQ(Text(MergeBooks(Book(c.base), Book(c.ours), Book(c.theirs))), c.merged) << c.what;
    }
}

TEST(SharedBookTest, UntouchedDeviceKeepsWhatTheFileDoesNotGiveBack) {
    DeviceTable ours = Book("A:1 B:2");
    CopyField(ours.At(0).priority, "Quality");
    DeviceTable base = ours;
    const DeviceTable merged = MergeBooks(base, ours, Book("A:1 B:9"));
    EXPECT_EQ(FieldText(merged.At(0).priority), "Quality");
    EXPECT_TRUE(ReadsAs(Book("A:1 B:2"), ours));
    EXPECT_FALSE(ReadsAs(Book("A:1 B:3"), ours));
}

// Two launchers on one book, each saving in turn as a user's changes come.
TEST(SharedBookTest, TwoLaunchersKeepEachOthersChanges) {
    ScratchFolder folder;
    const std::string path = folder.File(kAddressBookFileName);
    ASSERT_TRUE(WriteAddressBook(path, Book("A:1 B:2 C:3 D:4")));
    SharedBook first, second;
    ASSERT_FALSE(first.Load(folder.Folder()));
    ASSERT_FALSE(second.Load(folder.Folder()));
    DeviceTable& mine = first.Devices();
    DeviceTable& yours = second.Devices();

    mine.Append(Book("E:5").At(0));
    EXPECT_EQ(first.Save(), SharedBook::Saved::kWritten);
    yours.RemoveAt(3);
    CopyField(yours.At(1).serverIp, "9");
    const std::string firstSaved = *ReadWholeFile(path);
    EXPECT_EQ(second.Save(), SharedBook::Saved::kMerged);
    EXPECT_EQ(Text(yours), "A:1 B:9 C:3 E:5");
    // The book it replaced stays beside it.
    EXPECT_EQ(ReadWholeFile(BackupPathFor(path)), firstSaved);

    CopyField(mine.At(2).uuidIp, "10.0.0.9");
    CopyField(mine.At(2).uuidMac, "M");
    EXPECT_EQ(first.Save(), SharedBook::Saved::kMerged);
    EXPECT_EQ(Text(mine), "A:1 B:9 C:3:10.0.0.9:M E:5");
    // Nothing changed since its own save: nothing is written.
    EXPECT_EQ(first.Save(), SharedBook::Saved::kUnchanged);
    // A save of the same size within one tick of the file system's clock shows by its bytes.
    const auto time = std::filesystem::last_write_time(path);
    DeviceTable edited = mine;
    CopyField(edited.At(0).serverIp, "7");
    ASSERT_TRUE(WriteAddressBook(path, edited));
    std::filesystem::last_write_time(path, time);
    EXPECT_EQ(first.Save(), SharedBook::Saved::kMerged);
    EXPECT_EQ(second.Save(), SharedBook::Saved::kMerged);
    EXPECT_EQ(Text(yours), Text(mine));
    CIniFile file;
    DeviceTable onDisk;
    ASSERT_FALSE(LoadAddressBook(folder.Folder(), file, onDisk));
    EXPECT_EQ(Text(onDisk), "A:7 B:9 C:3:10.0.0.9:M E:5");
}

// A file on disk that looks damaged is not another launcher's deletions: every device of the
// last good book that this launcher still has stays, and the user is told which.
TEST(SharedBookTest, DamagedFileLosesNoDeviceOfTheLastGoodBook) {
    const std::string good = FormatAddressBook(Book("A:1 B:2 C:3 D:4 E:5"));
    const std::string cut = good.substr(0, good.find("[C]") + 12);
    std::string zeroed = good;
    std::fill(zeroed.begin() + static_cast<std::ptrdiff_t>(good.find("[B]")), zeroed.end(), '\0');
    const struct {
        const char* what;
        std::string onDisk;
        const char* saved;
        const char* kept;
    } cases[] = {
        // The section the damage is in may lack keys too: it is taken from the good book.
        {"cut short", cut, "A:1 B:2 C:3 D:4 E:5", "C D E"},
        {"empty", "", "A:1 B:2 C:3 D:4 E:5", "A B C D E"},
        {"NUL bytes", zeroed, "A:1 B:2 C:3 D:4 E:5", "A B C D E"},
        {"most devices gone", FormatAddressBook(Book("A:1 B:9")), "A:1 B:9 C:3 D:4 E:5", "C D E"},
        // Whole, and only some gone: their deletions.
        {"two deleted there", FormatAddressBook(Book("A:1 B:2 E:5")), "A:1 B:2 E:5", ""},
    };
    for (const auto& c : cases) {
        ScratchFolder folder;
        const std::string path = folder.File(kAddressBookFileName);
        folder.Write(kAddressBookFileName, good);
        SharedBook book;
        ASSERT_FALSE(book.Load(folder.Folder()));
        DeviceTable& table = book.Devices();
        folder.Write(kAddressBookFileName, c.onDisk);
        CopyField(table.At(0).uuidMac, "M");  // learned here meanwhile
        ASSERT_NE(book.Save(), SharedBook::Saved::kFailed) << c.what;
        CIniFile again;
        DeviceTable onDisk;
        ASSERT_FALSE(LoadAddressBook(folder.Folder(), again, onDisk));
        std::string expected = c.saved;
        expected.replace(0, 3, "A:1::M");
        EXPECT_EQ(Text(onDisk), expected) << c.what;
        std::string kept;
        for (const std::string& name : book.TakeNotices().keptFromDamage) {
            kept += (kept.empty() ? "" : " ") + name;
        }
        EXPECT_EQ(kept, c.kept) << c.what;
    }
}

// Start and close without a change write nothing: the file keeps its bytes and its time, and
// no backup is made.
TEST(SharedBookTest, SaveWithoutChangeWritesNothing) {
    ScratchFolder folder;
    const std::string path = folder.File(kAddressBookFileName);
    folder.Write(kAddressBookFileName, "[A]\r\nSERVERIP=1\r\n");  // not as we would write it
    SharedBook book;
    ASSERT_FALSE(book.Load(folder.Folder()));
    EXPECT_EQ(book.Save(), SharedBook::Saved::kWritten);
    const std::optional<FileStamp> stamp = StampOf(path);
    std::filesystem::remove(BackupPathFor(path));
    EXPECT_EQ(book.Save(), SharedBook::Saved::kUnchanged);
    EXPECT_EQ(StampOf(path), stamp);
    EXPECT_FALSE(std::filesystem::exists(BackupPathFor(path)));
    // Another launcher's save of the same bytes is no change to write either.
    SharedBook other;
    ASSERT_FALSE(other.Load(folder.Folder()));
    EXPECT_EQ(other.Save(), SharedBook::Saved::kUnchanged);
}

TEST(SharedBookTest, SaveAfterAnImportWritesTheImportedTable) {
    ScratchFolder folder;
    const std::string path = folder.File(kAddressBookFileName);
    ASSERT_TRUE(WriteAddressBook(path, Book("A:1 B:2")));
    SharedBook book;
    ASSERT_FALSE(book.Load(folder.Folder()));
    DeviceTable& table = book.Devices();
    ASSERT_TRUE(WriteAddressBook(path, Book("A:1 B:2 C:3")));  // another launcher's save

    table = Book("X:1");
    book.TableReplaced();
    EXPECT_EQ(book.Save(), SharedBook::Saved::kWritten);
    EXPECT_EQ(ReadWholeFile(path), FormatAddressBook(Book("X:1")));
    // Only that one save: the next merges again.
    ASSERT_TRUE(WriteAddressBook(path, Book("X:1 Y:2")));
    table.Append(Book("Z:3").At(0));
    EXPECT_EQ(book.Save(), SharedBook::Saved::kMerged);
    EXPECT_EQ(Text(table), "X:1 Y:2 Z:3");
}

// A save that lands between the read and the replace stops the replace, and nothing of either
// is lost: the caller reads again.
TEST(SharedBookTest, ReplaceStopsWhenTheFileChangedUnderIt) {
    ScratchFolder folder;
    const std::string path = folder.File(kAddressBookFileName);
    folder.Write(kAddressBookFileName, "[Old]\r\n");
    std::optional<FileStamp> written;
    const ReplaceOutcome outcome = ReplaceFileContents(
        path, "[Mine]\r\n",
        [&] {
            folder.Write(kAddressBookFileName, "[Theirs]\r\n");
            return false;
        },
        written);
    EXPECT_EQ(outcome, ReplaceOutcome::kOvertaken);
    EXPECT_EQ(ReadWholeFile(path), "[Theirs]\r\n");
    EXPECT_FALSE(std::filesystem::exists(ReplacementPathFor(path)));
    EXPECT_FALSE(std::filesystem::exists(BackupPathFor(path)));

    EXPECT_EQ(ReplaceFileContents(path, "[Mine]\r\n", nullptr, written), ReplaceOutcome::kReplaced);
    EXPECT_EQ(written, StampOf(path));
}

}  // namespace
