// The address-book save killed with TerminateProcess. The program is its own saver: started
// with kSaverFlag it saves until it is killed.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "addressbook/AddressBook.h"
#include "durability/KillRounds.h"
#include "support/ScratchFolder.h"

namespace {

constexpr char kSaverFlag[] = "--saver";
constexpr UINT kKilledExitCode = 0x4B1;

// Saves until killed, or until the test that started it has gone; `ready` is signalled once
// its books are built.
int RunSaver(const std::string& path, HANDLE ready, DWORD parentId) {
    HANDLE parent = OpenProcess(SYNCHRONIZE, FALSE, parentId);
    const SavedBook books[2] = {MakeSavedBook(kDurabilityDevices, 0),
                                MakeSavedBook(kDurabilityDevices, 1)};
    SetEvent(ready);
    SaveInTurns(path, books, [parent] {
        return parent != nullptr && WaitForSingleObject(parent, 0) == WAIT_TIMEOUT;
    });
    return 0;
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

// A copy of this program, started with the saver flag.
class SaverCopy : public SaverProcess {
public:
    explicit SaverCopy(const std::string& path) : m_path(path) {
        SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
        m_ready = CreateEventW(&inheritable, FALSE, FALSE, nullptr);
    }
    ~SaverCopy() override {
        if (m_process != nullptr) {
            TerminateProcess(m_process, kKilledExitCode);
            CloseHandle(m_process);
        }
        if (m_ready != nullptr) {
            CloseHandle(m_ready);
        }
    }
    SaverCopy(const SaverCopy&) = delete;
    SaverCopy& operator=(const SaverCopy&) = delete;

    void Start() override {
        ASSERT_NE(m_ready, nullptr);
        const std::wstring exe = OwnPath();
        std::wstring commandLine = L"\"" + exe + L"\" " + Widen(kSaverFlag) + L" \"" +
                                   Widen(m_path) + L"\" " +
                                   std::to_wstring(reinterpret_cast<std::uintptr_t>(m_ready)) +
                                   L" " + std::to_wstring(GetCurrentProcessId());
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION saver{};
        // Inheriting handles is how the copy gets the event.
        ASSERT_TRUE(CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                   nullptr, nullptr, &startup, &saver))
            << "CreateProcessW: " << GetLastError();
        CloseHandle(saver.hThread);
        m_process = saver.hProcess;
        m_processId = saver.dwProcessId;
        // Wine takes a good part of a second to start a process.
        const HANDLE started[2] = {m_ready, m_process};
        const DWORD waited = WaitForMultipleObjects(2, started, FALSE, 30000);
        ASSERT_EQ(waited, WAIT_OBJECT_0) << "the saver never got going";
    }

    void Kill() override {
        TerminateProcess(m_process, kKilledExitCode);
        WaitForSingleObject(m_process, INFINITE);
        DWORD exitCode = 0;
        GetExitCodeProcess(m_process, &exitCode);
        CloseHandle(m_process);
        m_process = nullptr;
        // A saver that ended any other way crashed on its own.
        ASSERT_EQ(exitCode, kKilledExitCode);
    }

    unsigned long Process() const override { return m_processId; }

private:
    const std::string& m_path;
    HANDLE m_ready = nullptr;
    HANDLE m_process = nullptr;
    DWORD m_processId = 0;
};

TEST(SaveKilledTest, KilledSaverLeavesTheOldOrTheNewBookWhole) {
    const SavedBook books[2] = {MakeSavedBook(kDurabilityDevices, 0),
                                MakeSavedBook(kDurabilityDevices, 1)};
    ScratchFolder folder;
    const std::string path = folder.File(kAddressBookFileName);
    SaverCopy saver(path);
    // Each saver is a new process: fewer rounds in more time than with fork.
    RunKillRounds(folder.Folder(), path, books, saver, {100, std::chrono::seconds(40)});
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
