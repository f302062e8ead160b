#include "connect/ViewerLauncher_win32.h"

#include <windows.h>

#include <vector>

#include "base/UniqueHandle_win32.h"

bool LaunchViewer(const std::string& commandLine, const char* workingFolder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    // CreateProcessA may write into the command line, so it gets a copy of its own.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, workingFolder,
                        &startup, &process)) {
        return false;
    }
    // Not waited for: the viewer runs on its own.
    const OwnedHandle viewer(process.hProcess);
    const OwnedHandle viewerThread(process.hThread);
    return true;
}
