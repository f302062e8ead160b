// The simulated device's identity and misbehaviours, all from its command line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

enum class ReplyForm { kFixed, kText, kBoth };

struct SimOptions {
    std::string bind = "127.0.0.1";  // HTTP and search socket address
    int httpPort = 0;                // 0: a free port, printed when ready
    int searchPort = 7777;           // UDP port of the search request; 0: a free port
    int answerPort = 3332;           // answers go to the requester's address at this port
    std::string mac = "02:ab:cd:0a:0b:0c";
    std::string ip;    // announced address; the bind address when empty
    int port = -1;     // announced HTTP port; the real one when negative
    std::string user;  // credentials: both empty means none are asked for
    std::string password;
    std::string name = "Simulated device";
    std::string keyword = "KX_SEARCH";  // keyword of the fixed-layout reply
    int option = 0;                     // option word of the fixed-layout reply
    ReplyForm form = ReplyForm::kFixed;
    std::string pageMac;  // MAC that the pages report; the announced one when empty

    // Misbehaviours.
    bool noAnswer = false;    // never answers the search
    bool slowAccept = false;  // never accepts an HTTP connection
    int slowBodySeconds = 0;  // the pages trickle: one line a second for this long
    bool crlf = false;        // page lines end with CR LF
    std::size_t padTo = 0;    // pages padded with filler lines to this many bytes
    bool wrongMac = false;    // the pages report a MAC other than the announced one
    bool wrongEcho = false;   // after its answers, a datagram with command echo 2
    bool noMac = false;       // text answers carry an empty MAC
    int flood = 1;            // answers per request, each with a MAC of its own
    int intervalMs = 0;       // pause between answers
};

// The options, or nothing with a message in `error`.
std::optional<SimOptions> ParseSimOptions(int argc, char** argv, std::string& error);

extern const char kSimUsage[];
