// The directory file that sits beside our NAT-traversal library (KXC_IE_NATT.directory) and
// tells it how to behave, so tests and demos can stage every outcome without a cloud server.
// One entry a line, words separated by blanks:
//
//   # comment (a word starting with '#' ends the line)
//   init-error <code>
//       NATSocket_Init fails; NATSocket_GetLastError then gives <code>.
//   scribble
//       NATSocket_HostNameConnect writes a zero into the last byte of every text buffer it is
//       given, as a library that hands texts back through them may.
//   linger <ms>
//       NATSocket_DeInit leaves one of the library's threads running in the library's code
//       for <ms> milliseconds after it has returned, as libraries that end their threads
//       lazily do; the process must not unload the library under it.
//   keep-host-name
//       NATSocket_HostNameConnect keeps the host-name pointer it is given, as a library that
//       looks the device up again later through it, and fills the buffer past the name's end
//       with a canary. Every later connect and NATSocket_DeInit read each kept buffer, and a
//       name or canary found changed (the caller freed or reused the buffer) is reported on
//       standard error.
//   call-after-deinit <ms>
//       After NATSocket_DeInit has returned, one of the library's threads goes on calling both
//       callbacks, with the context NATSocket_Init was given, for <ms> milliseconds, as a
//       library whose threads end lazily may.
//   flood <count>
//       Each NATSocket_HostNameConnect that connects makes <count> info callbacks at once
//       before it returns, as a chatty library may.
//   device <uuid> <a.b.c.d>:<port> p2p|relay|error <code> [delay <ms>]
//       NATSocket_HostNameConnect with host name <uuid> (matched exactly, letter case counts)
//       waits <ms> milliseconds, then tunnels to that IPv4 address and TCP port, reporting the
//       kind P2P (48) or relay (49), or fails with error <code>.
//
// A UUID that no line names is the error "device not exist" (15). A later line for the same UUID
// replaces an earlier one, and a later line of any other kind wins too. Addresses are dotted
// decimal only (no names: the library must not ask a name server), without leading zeros, which
// some readers take for octal. Unknown or malformed lines are ignored, so an old library reads a
// newer file.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class NatOutcome { kPeerToPeer, kRelay, kError };

struct NatDevice {
    std::string uuid;
    std::string endpoint;   // "a.b.c.d:port" as written
    std::uint32_t address;  // IPv4, host byte order
    std::uint16_t port;
    NatOutcome outcome;
    int errorCode;  // only for NatOutcome::kError
    std::chrono::milliseconds delay;
};

struct NatDirectory {
    std::optional<int> initError;
    bool scribble = false;
    std::chrono::milliseconds linger{0};
    bool keepHostName = false;
    std::chrono::milliseconds callAfterDeInit{0};
    int flood = 0;
    std::vector<NatDevice> devices;

    // The entry for a host name, or null when the directory does not know it.
    const NatDevice* Find(std::string_view uuid) const;
};

NatDirectory ParseNatDirectory(std::string_view text);

constexpr const char kNatDirectoryFileName[] = "KXC_IE_NATT.directory";
