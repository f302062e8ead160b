#include "durability/KillRounds.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <thread>

#include "addressbook/AddressBook.h"
#include "base/AtomicFile.h"
#include "base/ScratchName.h"

namespace {

using Clock = std::chrono::steady_clock;

std::uint64_t ChooseSeed() {
    if (const char* fixed = std::getenv("TAVRIN_DURABILITY_SEED")) {
        return std::strtoull(fixed, nullptr, 10);
    }
    // Some runtimes' random_device repeats itself from run to run; the clock does not.
    return std::random_device{}() ^
           static_cast<std::uint64_t>(Clock::now().time_since_epoch().count());
}

// The scratch files in the folder: each save writes one of its own process's.
std::set<std::string> ScratchFiles(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".new") {
            names.insert(entry.path().filename().string());
        }
    }
    return names;
}

}  // namespace

void SaveInTurns(const std::string& path, const SavedBook (&books)[2],
                 const std::function<bool()>& keepGoing) {
    // The saves write bytes formatted beforehand: formatting touches no file, and under the
    // sanitizers it would take most of each save, leaving few kills to fall on the file work.
    do {
        ReplaceFileContents(path, books[1].bytes);
        ReplaceFileContents(path, books[0].bytes);
    } while (keepGoing());
}

void RunKillRounds(const std::string& folder, const std::string& path, const SavedBook (&books)[2],
                   SaverProcess& saver, KillPlan plan) {
    const std::uint64_t seed = ChooseSeed();
    SCOPED_TRACE("seed " + std::to_string(seed) + " (TAVRIN_DURABILITY_SEED repeats a run)");

    // One save cycle, timed here, sets the range of the kill delays: spread over two cycles
    // they fall while writing, flushing, renaming and between saves alike.
    const Clock::time_point cycleStart = Clock::now();
    ASSERT_TRUE(ReplaceFileContents(path, books[1].bytes));
    ASSERT_TRUE(ReplaceFileContents(path, books[0].bytes));
    const auto cycle =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - cycleStart);
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<std::int64_t> delay(0, 2 * cycle.count());

    int rounds = 0;
    int survived[2] = {0, 0};
    int killedMidSave = 0;
    std::set<std::string> scratchSeen;
    const Clock::time_point deadline = Clock::now() + plan.timeLimit;
    while (rounds < plan.rounds && Clock::now() < deadline) {
        ASSERT_NO_FATAL_FAILURE(saver.Start()) << "round " << rounds;
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ASSERT_NO_FATAL_FAILURE(saver.Kill()) << "round " << rounds;

        // A scratch file not seen before means this kill fell inside a save.
        for (const std::string& name : ScratchFiles(folder)) {
            killedMidSave += scratchSeen.insert(name).second ? 1 : 0;
        }
        const int which = WhichBookSurvived(folder, books);
        ASSERT_GE(which, 0) << "after round " << rounds;
        // Identical bytes load identically: one load of each book that survived is enough.
        if (survived[which]++ == 0) {
            ASSERT_TRUE(LoadsWholeBook(folder, books[which])) << "book " << which;
        }
        ++rounds;
    }

    // A scratch file stays while the process it is named for runs, as another user's launcher
    // on this computer may be writing it, and goes once that process has ended. The saver's
    // own book would see its own saves come and go, so another book beside it is saved.
    const std::string other = folder + "Other.ini";
    ASSERT_NO_FATAL_FAILURE(saver.Start());
    const std::string running =
        ScratchPathFor(other, {saver.Process(), ThisScratchOwner().computer});
    std::ofstream(running) << "being written";
    ASSERT_TRUE(ReplaceFileContents(other, "[Other]\r\n"));
    EXPECT_TRUE(std::filesystem::exists(running));
    ASSERT_NO_FATAL_FAILURE(saver.Kill());
    ASSERT_TRUE(ReplaceFileContents(other, "[Other]\r\n"));
    EXPECT_FALSE(std::filesystem::exists(running));

    // The program started again after the kills saves, and clears what they left.
    ASSERT_TRUE(WriteAddressBook(path, books[1].table));
    EXPECT_EQ(WhichBookSurvived(folder, books), 1);
    EXPECT_EQ(ScratchFiles(folder), std::set<std::string>());

    // A run whose kills all missed the saves, or that never saw both books, proved nothing.
    EXPECT_GT(killedMidSave, 0);
    EXPECT_GT(survived[0], 0);
    EXPECT_GT(survived[1], 0);
    std::printf(
        "%d kills, %d of them inside a save; left book 0 %d times, book 1 %d times; "
        "one save cycle took %lld us\n",
        rounds, killedMidSave, survived[0], survived[1], static_cast<long long>(cycle.count()));
}
