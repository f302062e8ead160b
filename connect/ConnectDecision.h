// What a double-click on a device does, and what the launcher does once the NAT library has
// connected: the three ways to a device, kept free of windows, sockets and threads. Every
// effect goes through ConnectEffects, so each path is tested without a network.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "addressbook/DeviceRecord.h"
#include "connect/ViewerCommandLine.h"
#include "natapi/NatCodes.h"

// Where the viewer or the next request goes: a LAN address found by the search, or the
// tunnel's local end.
struct ConnectionTarget {
    std::string address;
    std::uint16_t port = 0;
};

class ConnectEffects {
public:
    virtual ~ConnectEffects() = default;
    // GET url with the record's account and password; nothing when no reply came at all.
    virtual std::optional<std::string> FetchPage(const std::string& url,
                                                 const DeviceRecord& record) = 0;
    // Where the LAN search saw this MAC address, if it did.
    virtual std::optional<ConnectionTarget> FindDiscoveredDevice(std::string_view mac) = 0;
    // Starts the viewer without waiting for it; false when it could not be started.
    virtual bool LaunchViewer(const std::string& commandLine) = 0;
    virtual void SaveAddressBook() = 0;
    virtual void Debug(const std::string& line) = 0;
};

enum class ConnectStep {
    kNothing,             // no address and no UUID: a double-click does nothing
    kLaunched,            // the viewer was started (or failed to start, which is silent)
    kCommandLineTooLong,  // the viewer's command line would not fit: tell the user
    kNeedsTunnel,         // not reachable on the LAN: ask the NAT library on the worker
};

// The device's login page at an address and port (as text).
std::string LoginUrl(std::string_view address, std::string_view port);

// A double-click on the record: a static address launches at once; a cloud device is looked
// for at its remembered LAN address and where the LAN search saw its MAC, each confirmed by
// the MAC its Login.cgi reports (never without a stored MAC); otherwise it needs the tunnel. May
// change the record's uuidIp and the target. Blocks on at most two HTTP requests.
ConnectStep DecideDoubleClick(DeviceRecord& record, bool discoveryRunning, ConnectionTarget& target,
                              const ViewerSettings& settings, ConnectEffects& effects);

// The port the NAT library is asked for: the number at the start of the port text, cut to
// 16 bits.
std::uint16_t TunnelRequestPort(std::string_view serverPort);

// After the NAT library connected: launches the viewer on the tunnel's local end, then reads
// the device's LAN address and MAC through the tunnel and saves them when both are known.
ConnectStep CompleteTunnelConnection(DeviceRecord& record, const ConnectionTarget& tunnel,
                                     NatConnectKind connectionKind, const ViewerSettings& settings,
                                     ConnectEffects& effects);

// "P2P" for the library's peer-to-peer kind (48), "RELAY" for every other.
std::string_view ConnectionTypeFor(NatConnectKind connectionKind);

// The status number of a connect result: 0 when connected; for a failure by its code, -5 for
// 15, -11 for 17, else -1 (1 included: a library may report it after a failure).
int ConnectStatusFor(bool connected, int code);

// The debugger text of a connect result: "0\t<status>\t<address>\t<port>\t".
std::string ConnectResultText(bool connected, int code, const ConnectionTarget& target);

// Takes the device's LAN address and MAC from a Config.cgi reply (the last of each wins; an
// address that is not a dotted IPv4 address, or a MAC that is not six hexadecimal pairs,
// counts as absent).
void LearnNetworkSettings(std::string_view reply, DeviceRecord& record);
