// The run both platforms' tests share: a process saving the address book is killed at random
// moments, many times over, and what is left on disk must always be the whole old book or the
// whole new one. Each platform says how a saver is started and killed.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

#include "durability/SavedBook.h"

constexpr std::size_t kDurabilityDevices = 5000;

// Saves books[1] and books[0] in turn to the path while `keepGoing` says so: a saver's work.
void SaveInTurns(const std::string& path, const SavedBook (&books)[2],
                 const std::function<bool()>& keepGoing);

// A process that runs SaveInTurns on the test's path and books until it is killed.
class SaverProcess {
public:
    virtual ~SaverProcess() = default;
    // Starts one and returns once it is about to save; fails the test when it cannot.
    virtual void Start() = 0;
    // Kills it and waits for it; fails the test when it had ended any other way.
    virtual void Kill() = 0;
    // The process id of the one started last.
    virtual unsigned long Process() const = 0;
};

struct KillPlan {
    int rounds;                      // at most this many kills...
    std::chrono::seconds timeLimit;  // ...within this time
};

// Runs the rounds against the address book at `path` in `folder`, then checks that the run
// proved something: kills fell inside saves, and each book was left at least once.
void RunKillRounds(const std::string& folder, const std::string& path, const SavedBook (&books)[2],
                   SaverProcess& saver, KillPlan plan);
