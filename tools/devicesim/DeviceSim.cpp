// devicesim: a network video device as the launcher meets it, for tests and the demo. It
// answers the LAN search on UDP and serves Login.cgi and Config.cgi over HTTP, and misbehaves
// on request. Prints "devicesim ready http=PORT search=PORT" once both are open, then one line
// per search request and per HTTP request; runs until killed.
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "tools/devicesim/DevicePages.h"
#include "tools/devicesim/SearchResponder.h"
#include "tools/devicesim/SimOptions.h"
#include "tools/devicesim/StalledListener.h"

int main(int argc, char** argv) {
    std::string error;
    const std::optional<SimOptions> options = ParseSimOptions(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "devicesim: %s\n%s", error.c_str(), kSimUsage);
        return 2;
    }
    // A client that hangs up mid-reply must not end the device.
    std::signal(SIGPIPE, SIG_IGN);

    StalledListener stalled;
    std::unique_ptr<DevicePages> pages;
    int httpPort = -1;
    if (options->slowAccept) {
        httpPort = stalled.Open(options->bind, options->httpPort, error);
    } else {
        pages = std::make_unique<DevicePages>(*options);
        httpPort = pages->Bind(error);
    }
    SearchResponder responder(*options, httpPort);
    if (httpPort < 0 || !responder.Open(error)) {
        std::fprintf(stderr, "devicesim: %s\n", error.c_str());
        return 1;
    }
    std::printf("devicesim ready http=%d search=%d\n", httpPort, responder.Port());
    std::fflush(stdout);

    if (pages) {
        std::thread([&pages] { pages->Serve(); }).detach();
    }
    responder.Serve();
}
