// The address-book save killed with TerminateProcess at random moments, many times over:
// what is left on disk must always be the whole old book or the whole new one. The program
// is its own saver: started with kSaverFlag it saves until it is killed.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>

#include "addressbook/AddressBook.h"
#include "base/AtomicFile.h"
#include "durability/SavedBook.h"
#include "support/ScratchFolder.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kSaverFlag[] = "--saver";
constexpr std::size_t kDevices = 5000;
// Each saver is a new process, which Wine takes a good part of a second to start.
constexpr int kRounds = 100;
constexpr auto kTimeBudget = std::chrono::seconds(40);
constexpr UINT kKilledExitCode = 0x4B1;

// Saves the two books in turn until killed, or until the test that started it has gone.
int RunSaver(const std::string& path, HANDLE ready, DWORD parentId) {
    HANDLE parent = OpenProcess(SYNCHRONIZE, FALSE, parentId);
    const SavedBook books[2] = {MakeSavedBook(kDevices, 0), MakeSavedBook(kDevices, 1)};
    SetEvent(ready);
    for (;;) {
        WriteAddressBook(path, books[1].table);
        WriteAddressBook(path, books[0].table);
        if (parent == nullptr || WaitForSingleObject(parent, 0) != WAIT_TIMEOUT) {
            return 0;
        }
    }
}

std::wstring Widen(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

std::wstring OwnPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// A copy of this program saving to the path; it signals `ready` once its books are built.
bool StartSaver(const std::string& path, HANDLE ready, PROCESS_INFORMATION& process) {
    const std::wstring exe = OwnPath();
    std::wstring commandLine = L"\"" + exe + L"\" " + Widen(kSaverFlag) + L" \"" + Widen(path) +
                               L"\" " + std::to_wstring(reinterpret_cast<std::uintptr_t>(ready)) +
                               L" " + std::to_wstring(GetCurrentProcessId());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // Inheriting handles is how the child gets the event.
    return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                          nullptr, &startup, &process) != 0;
}

std::uint64_t ChooseSeed() {
    if (const char* fixed = std::getenv("TAVRIN_DURABILITY_SEED")) {
        return std::strtoull(fixed, nullptr, 10);
    }
    return std::random_device{}() ^ (static_cast<std::uint64_t>(GetTickCount()) << 32);
}

TEST(SaveKilledTest, KilledSaverLeavesTheOldOrTheNewBookWhole) {
    const std::uint64_t seed = ChooseSeed();
    SCOPED_TRACE("seed " + std::to_string(seed) + " (TAVRIN_DURABILITY_SEED repeats a run)");
    const SavedBook books[2] = {MakeSavedBook(kDevices, 0), MakeSavedBook(kDevices, 1)};
    ScratchFolder folder;
    const std::string path = folder.File(kAddressBookFileName);

    // One save cycle, timed here, sets the range of the kill delays: spread over two cycles
    // they fall while writing, flushing, renaming and between saves alike.
    const Clock::time_point cycleStart = Clock::now();
    ASSERT_TRUE(WriteAddressBook(path, books[1].table));
    ASSERT_TRUE(WriteAddressBook(path, books[0].table));
    const auto cycle =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - cycleStart);
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<DWORD> delay(0, static_cast<DWORD>(2 * cycle.count() + 1));

    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE ready = CreateEventW(&inheritable, FALSE, FALSE, nullptr);
    ASSERT_NE(ready, nullptr);

    int rounds = 0;
    int survived[2] = {0, 0};
    int killedMidSave = 0;
    const Clock::time_point deadline = Clock::now() + kTimeBudget;
    while (rounds < kRounds && Clock::now() < deadline) {
        PROCESS_INFORMATION saver{};
        ASSERT_TRUE(StartSaver(path, ready, saver)) << "CreateProcessW: " << GetLastError();
        CloseHandle(saver.hThread);
        const HANDLE started[2] = {ready, saver.hProcess};
        const DWORD waited = WaitForMultipleObjects(2, started, FALSE, 30000);
        if (waited != WAIT_OBJECT_0) {
            TerminateProcess(saver.hProcess, kKilledExitCode);
            CloseHandle(saver.hProcess);
            FAIL() << "the saver never got going (wait " << waited << ")";
        }
        Sleep(delay(random));
        TerminateProcess(saver.hProcess, kKilledExitCode);
        WaitForSingleObject(saver.hProcess, INFINITE);
        DWORD exitCode = 0;
        GetExitCodeProcess(saver.hProcess, &exitCode);
        CloseHandle(saver.hProcess);
        // A saver that ended any other way crashed on its own.
        ASSERT_EQ(exitCode, kKilledExitCode) << "round " << rounds;

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
    CloseHandle(ready);

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
        "one save cycle took %lld ms\n",
        rounds, killedMidSave, survived[0], survived[1], static_cast<long long>(cycle.count()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string_view(argv[1]) == kSaverFlag) {
        const auto ready = reinterpret_cast<HANDLE>(
            static_cast<std::uintptr_t>(std::strtoull(argv[3], nullptr, 10)));
        return RunSaver(argv[2], ready, static_cast<DWORD>(std::strtoul(argv[4], nullptr, 10)));
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
