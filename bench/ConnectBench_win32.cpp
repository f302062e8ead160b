// Times a double-click's way to the viewer under Wine, with the launcher's real effects: the
// static address (no request) and a cloud device on the LAN (one Login.cgi request to a
// simulated device, then the launch). A run ends when CreateProcess has started Pellix.exe.
// Goals: a static address under 100 ms, a device on the LAN under 300 ms.
//
//   connect_bench.exe <device http port on 127.0.0.1> <device MAC> [runs, default 20]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/FixedText.h"
#include "connect/ConnectDecision.h"
#include "connect/HttpGet.h"
#include "connect/ViewerLauncher_win32.h"

namespace {

// The launcher's effects, with the LAN search's list standing in as one known device.
class BenchEffects : public ConnectEffects {
public:
    BenchEffects(std::string folder, ConnectionTarget device)
        : m_folder(std::move(folder)), m_device(std::move(device)) {}
    std::optional<std::string> FetchPage(const std::string& url,
                                         const DeviceRecord& record) override {
        const std::unique_ptr<char[]> reply = HttpGet(url.c_str(), record.account, record.password);
        return reply ? std::optional<std::string>(reply.get()) : std::nullopt;
    }
    std::optional<ConnectionTarget> FindDiscoveredDevice(std::string_view) override {
        return m_device;
    }
    bool LaunchViewer(const std::string& commandLine) override {
        return ::LaunchViewer(commandLine, m_folder.c_str());
    }
    void SaveAddressBook() override {}
    void Debug(const std::string&) override {}

private:
    std::string m_folder;
    ConnectionTarget m_device;
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

void Report(const char* what, std::vector<double> times, double goal) {
    std::sort(times.begin(), times.end());
    std::printf("%-28s median %7.1f ms   max %7.1f ms   (goal %.0f ms: %s)\n", what,
                times[times.size() / 2], times.back(), goal,
                times[times.size() / 2] < goal ? "met" : "missed");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: connect_bench.exe <device http port> <device MAC> [runs]\n", stderr);
        return 2;
    }
    const auto port = static_cast<std::uint16_t>(std::atoi(argv[1]));
    const int runs = argc > 3 ? std::atoi(argv[3]) : 20;
    char folder[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, folder, MAX_PATH);
    *std::strrchr(folder, '\\') = '\0';  // Pellix.exe sits beside this tool
    BenchEffects effects(std::string(folder) + "\\", ConnectionTarget{"127.0.0.1", port});
    const ViewerSettings settings{std::string(folder) + "\\", Language::kEnglish};

    DeviceRecord record{};
    CopyField(record.name, "Bench");
    CopyField(record.serverPort, std::to_string(port));
    CopyField(record.account, "admin");
    CopyField(record.password, "secret");
    CopyField(record.uuid, "UUID-BENCH");
    CopyField(record.uuidMac, argv[2]);

    std::vector<double> staticTimes, lanTimes;
    for (int i = 0; i < runs; ++i) {
        for (bool lan : {false, true}) {
            DeviceRecord device = record;
            CopyField(device.serverIp, lan ? "" : "127.0.0.1");
            ConnectionTarget target;
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            const ConnectStep step = DecideDoubleClick(device, false, target, settings, effects);
            QueryPerformanceCounter(&end);
            if (step != ConnectStep::kLaunched) {
                std::fprintf(stderr, "connect_bench: the %s device was not launched\n",
                             lan ? "LAN" : "static");
                return 1;
            }
            (lan ? lanTimes : staticTimes).push_back(Milliseconds(start, end));
        }
    }
    Report("static address (path 1)", staticTimes, 100);
    Report("device on the LAN (path 2)", lanTimes, 300);
    return 0;
}
