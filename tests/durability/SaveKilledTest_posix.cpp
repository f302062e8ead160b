// The address-book save killed with SIGKILL at random moments, many times over: what is left
// on disk must always be the whole old book or the whole new one.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "addressbook/AddressBook.h"
#include "base/AtomicFile.h"
#include "durability/SavedBook.h"
#include "support/ScratchFolder.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kDevices = 5000;
constexpr int kRounds = 500;
constexpr auto kTimeBudget = std::chrono::seconds(15);

std::uint64_t ChooseSeed() {
    if (const char* fixed = std::getenv("TAVRIN_DURABILITY_SEED")) {
        return std::strtoull(fixed, nullptr, 10);
    }
    return std::random_device{}();
}

// Saves the two books in turn until killed, or until the test that forked it has gone.
[[noreturn]] void RunSaver(const std::string& path, const SavedBook (&books)[2], pid_t parent) {
    for (;;) {
        WriteAddressBook(path, books[1].table);
        WriteAddressBook(path, books[0].table);
        if (getppid() != parent) {
            _exit(0);
        }
    }
}

TEST(SaveKilledTest, KilledSaverLeavesTheOldOrTheNewBookWhole) {
    const std::uint64_t seed = ChooseSeed();
    SCOPED_TRACE("seed " + std::to_string(seed) + " (TAVRIN_DURABILITY_SEED repeats a run)");
    const SavedBook books[2] = {MakeSavedBook(kDevices, 0), MakeSavedBook(kDevices, 1)};
    ScratchFolder folder;
    const std::string path = folder.File(kAddressBookFileName);

    // One save cycle, timed here, sets the range of the kill delays: spread over two cycles
    // they fall while writing, syncing, renaming and between saves alike.
    const Clock::time_point cycleStart = Clock::now();
    ASSERT_TRUE(WriteAddressBook(path, books[1].table));
    ASSERT_TRUE(WriteAddressBook(path, books[0].table));
    const auto cycle =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - cycleStart);
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<std::int64_t> delay(0, 2 * cycle.count());

    int rounds = 0;
    int survived[2] = {0, 0};
    int killedMidSave = 0;
    const Clock::time_point deadline = Clock::now() + kTimeBudget;
    const pid_t self = getpid();
    while (rounds < kRounds && Clock::now() < deadline) {
        const pid_t child = fork();
        ASSERT_GE(child, 0) << "fork failed";
        if (child == 0) {
            RunSaver(path, books, self);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ASSERT_EQ(kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        // A saver that died any other way crashed on its own.
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "round " << rounds;

        // A scratch file left behind means this kill fell inside a save.
        killedMidSave += std::filesystem::exists(ReplacementPathFor(path)) ? 1 : 0;
        const int which = WhichBookSurvived(folder.Folder(), books);
        ASSERT_GE(which, 0) << "after round " << rounds;
        // Identical bytes load identically: one load of each book that survived is enough.
        if (survived[which]++ == 0) {
            ASSERT_TRUE(LoadsWholeBook(folder.Folder(), books[which])) << "book " << which;
        }
        ++rounds;
    }

    // The program started again after a kill must save over whatever scratch file was left.
    ASSERT_TRUE(WriteAddressBook(path, books[1].table));
    EXPECT_EQ(WhichBookSurvived(folder.Folder(), books), 1);
    EXPECT_FALSE(std::filesystem::exists(ReplacementPathFor(path)));

    // A run whose kills all missed the saves, or that never saw both books, proved nothing.
    EXPECT_GT(killedMidSave, 0);
    EXPECT_GT(survived[0], 0);
    EXPECT_GT(survived[1], 0);
    std::printf(
        "%d kills, %d of them inside a save; left book 0 %d times, book 1 %d times; "
        "one save cycle took %lld us\n",
        rounds, killedMidSave, survived[0], survived[1], static_cast<long long>(cycle.count()));
}

}  // namespace
