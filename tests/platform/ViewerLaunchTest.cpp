// Our stand-in viewer started as the launcher starts it: the bare program name found by the
// platform's search beside the starting program, a working folder of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/WholeFile.h"
#include "support/ScratchFolder.h"
#include "viewer/CommandLog.h"

namespace {

constexpr DWORD kStartLimitMs = 20000;

// One running viewer; closed through its window, as a user would, when the test ends.
class StartedViewer {
public:
    StartedViewer(std::string commandLine, const std::string& folder) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        GetStartupInfoA(&startup);
        m_started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   folder.c_str(), &startup, &m_process) != FALSE;
        m_started = m_started && WindowShown();
    }
    ~StartedViewer() {
        if (m_process.hProcess == nullptr) {
            return;
        }
        if (Close() != 0) {
            TerminateProcess(m_process.hProcess, 1);
        }
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    StartedViewer(const StartedViewer&) = delete;
    StartedViewer& operator=(const StartedViewer&) = delete;

    bool Started() const { return m_started; }

    // Closes the window and returns the exit code; 1 when it did not end in time.
    DWORD Close() {
        if (const HWND window = Window(); window != nullptr) {
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        DWORD code = 1;
        if (WaitForSingleObject(m_process.hProcess, kStartLimitMs) == WAIT_OBJECT_0) {
            GetExitCodeProcess(m_process.hProcess, &code);
        }
        return code;
    }

private:
    struct WindowSearch {
        DWORD process;
        HWND found;
    };

    static BOOL CALLBACK CheckWindow(HWND window, LPARAM parameter) {
        WindowSearch& search = *reinterpret_cast<WindowSearch*>(parameter);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == search.process && IsWindowVisible(window)) {
            search.found = window;
            return FALSE;
        }
        return TRUE;
    }

    // Waits for the viewer's window. Not WaitForInputIdle: under Wine it returns at once when
    // the new process has not yet come as far as its first window, which a busy machine shows.
    bool WindowShown() const {
        const ULONGLONG deadline = GetTickCount64() + kStartLimitMs;
        while (Window() == nullptr) {
            if (GetTickCount64() > deadline ||
                WaitForSingleObject(m_process.hProcess, 20) == WAIT_OBJECT_0) {
                return false;
            }
        }
        return true;
    }

    // The viewer's visible top-level window: its dialog.
    HWND Window() const {
        WindowSearch search{m_process.dwProcessId, nullptr};
        EnumWindows(&StartedViewer::CheckWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    PROCESS_INFORMATION m_process{};
    bool m_started = false;
};

// A letter beyond ASCII that the test prefix's ANSI code page spells with its own bytes.
std::string NonAsciiFolderName() {
    return GetACP() == 950 ? "\xa5\x78\xa5\x5f" : "Caf\xe9";
}

// The log holds each line as the viewer received it, but for the password's value.
TEST(ViewerLaunchTest, LogsEachLaunchsLineInItsWorkingFolderWithThePasswordMasked) {
    ScratchFolder folder;
    const std::string path = "path=C:\\Program Files\\" + NonAsciiFolderName() + "\\&";
    const std::string head = "Pellix.exe IP=127.0.0.1#PORT=50123#ACCOUNT=ad min#PASSWORD=";
    const std::string tail = "#PATH=" + path +
                             "#PRIORITY=Frame#DEVICEUUID=UUID-0001#DEVICEPORT=0080#CONNECTTYPE=P2P#"
                             "OEMNAME=oemname=ZEQ&#LANGUAGEID=1#";
    const std::string first = head + "p#ss w=rd" + tail;
    const std::string firstLogged = head + "********" + tail;
    const std::string second =
        "Pellix.exe IP=192.168.1.10#PORT=80#ACCOUNT=admin#PASSWORD=#PATH=" + path +
        "#PRIORITY=#DEVICEUUID=#DEVICEPORT=80#CONNECTTYPE=STATIC IP#OEMNAME=oemname=ZEQ&#"
        "LANGUAGEID=0#";

    StartedViewer viewer(first, folder.Folder());
    ASSERT_TRUE(viewer.Started()) << "Pellix.exe beside the test program did not start";
    // Written before the window showed.
    EXPECT_EQ(ReadWholeFile(folder.File("Pellix.log")), firstLogged + "\r\n");

    {
        StartedViewer another(second, folder.Folder());
        ASSERT_TRUE(another.Started());
        EXPECT_EQ(another.Close(), 0u);
    }
    EXPECT_EQ(ReadWholeFile(folder.File("Pellix.log")), firstLogged + "\r\n" + second + "\r\n");
    EXPECT_EQ(viewer.Close(), 0u);

    // A log at its limit: the oldest whole lines make room, the newest line comes last.
    std::string full;
    for (int n = 0; full.size() <= kCommandLogLimit; ++n) {
        full += "Pellix.exe IP=10.0." + std::to_string(n % 256) + "." + std::to_string(n) + "#\r\n";
    }
    folder.Write("Pellix.log", full);
    {
        StartedViewer third(second, folder.Folder());
        ASSERT_TRUE(third.Started());
        EXPECT_EQ(third.Close(), 0u);
    }
    const std::string trimmed = ReadWholeFile(folder.File("Pellix.log")).value_or("");
    ASSERT_TRUE(trimmed.ends_with("#\r\n" + second + "\r\n"));
    EXPECT_LE(trimmed.size(), kCommandLogLimit);
    EXPECT_GE(trimmed.size(), kCommandLogLimit / 4);
    const std::string kept = trimmed.substr(0, trimmed.size() - second.size() - 2);
    EXPECT_TRUE(full.ends_with(kept));
    EXPECT_EQ(full[full.size() - kept.size() - 1], '\n') << "the oldest kept line was cut";
}

}  // namespace
