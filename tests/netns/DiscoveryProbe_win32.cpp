// discovery_probe.exe MAC USER PASSWORD: the launcher's discovery worker as the main window
// runs it (the product's broadcast address and ports), then the login check at the address it
// found. Exit 0 when the device with that MAC is found and its Login.cgi confirms the MAC.
// Run only inside a private network namespace (tests/netns/broadcast-search).
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "connect/HttpGet.h"
#include "connect/KeyLines.h"
#include "discovery/DiscoveryWorker_win32.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: discovery_probe MAC USER PASSWORD\n");
        return 2;
    }
    const char* mac = argv[1];
    CDiscoveryWorker worker;
    worker.StartDiscovery();
    // A search lasts 5 to 10 seconds (plus up to 5 for sending).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (worker.IsRunning() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (worker.IsRunning()) {
        std::printf("probe: the search did not end\n");
        return 1;
    }
    char address[128] = {};
    std::uint16_t port = 0;
    if (!worker.FindDiscoveredDevice(mac, address, port)) {
        std::printf("probe: %s not found among %d devices\n", mac, worker.DiscoveredCount());
        return 1;
    }
    std::printf("probe: found %s at %s:%u among %d devices\n", mac, address, port,
                worker.DiscoveredCount());

    const std::string url =
        "http://" + std::string(address) + ":" + std::to_string(port) + "/Login.cgi";
    const std::unique_ptr<char[]> reply = HttpGet(url.c_str(), argv[2], argv[3]);
    const std::vector<std::string_view> lines = ReplyLines(reply ? reply.get() : "");
    const auto reported = lines.empty() ? std::nullopt : KeyLineValue(lines[0], "MAC-Address");
    if (!reported || *reported != mac) {
        std::printf("probe: %s does not confirm the MAC\n", url.c_str());
        return 1;
    }
    std::printf("probe: %s confirms %s\n", url.c_str(), mac);
    worker.StopDiscovery();
    return 0;
}
