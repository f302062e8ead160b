#include "connect/ConnectDecision.h"

#include "base/DecimalText.h"
#include "base/FixedText.h"
#include "connect/Ipv4Text.h"
#include "connect/KeyLines.h"
#include "connect/MacAddressText.h"

namespace {

constexpr std::string_view kMacKey = "MAC-Address";

ConnectStep Launch(const std::optional<std::string>& commandLine, ConnectEffects& effects) {
    if (!commandLine) {
        return ConnectStep::kCommandLineTooLong;
    }
    effects.LaunchViewer(*commandLine);
    return ConnectStep::kLaunched;
}

// The remembered LAN address: confirmed when the first MAC-Address line of its Login.cgi
// names the record's MAC; forgotten when it names another.
bool ConfirmRememberedAddress(DeviceRecord& record, ConnectEffects& effects) {
    const std::optional<std::string> reply =
        effects.FetchPage(LoginUrl(FieldText(record.uuidIp), FieldText(record.serverPort)), record);
    if (!reply) {
        return false;
    }
    const std::optional<std::string_view> mac = FindKeyLine(*reply, kMacKey);
    if (!mac) {
        return false;
    }
    if (*mac == FieldText(record.uuidMac)) {
        return true;
    }
    CopyField(record.uuidIp, "");
    return false;
}

// Where the LAN search saw the record's MAC: confirmed only by the first line of that
// address's Login.cgi.
bool ConfirmDiscoveredAddress(DeviceRecord& record, ConnectionTarget& target,
                              ConnectEffects& effects) {
    const std::optional<ConnectionTarget> found =
        effects.FindDiscoveredDevice(FieldText(record.uuidMac));
    // The address comes from a device's own answer: only a plain IPv4 address may carry the
    // user's credentials anywhere.
    if (!found || !IsDottedIpv4(found->address)) {
        return false;
    }
    target = *found;
    const std::optional<std::string> reply =
        effects.FetchPage(LoginUrl(target.address, std::to_string(target.port)), record);
    if (!reply) {
        return false;
    }
    const std::vector<std::string_view> lines = ReplyLines(*reply);
    const std::optional<std::string_view> mac =
        lines.empty() ? std::nullopt : KeyLineValue(lines.front(), kMacKey);
    if (!mac) {
        return false;
    }
    if (*mac == FieldText(record.uuidMac)) {
        CopyField(record.uuidIp, target.address);
        return true;
    }
    CopyField(record.uuidIp, "");
    return false;
}

}  // namespace

std::string LoginUrl(std::string_view address, std::string_view port) {
    return "http://" + std::string(address) + ":" + std::string(port) + "/Login.cgi";
}

ConnectStep DecideDoubleClick(DeviceRecord& record, bool discoveryRunning, ConnectionTarget& target,
                              const ViewerSettings& settings, ConnectEffects& effects) {
    if (!FieldText(record.serverIp).empty()) {
        const std::optional<std::string> line =
            StaticViewerCommandLine(record, FieldText(record.serverIp), settings);
        if (line) {
            effects.Debug("[Tavrin] " + *line + " \n");
        }
        return Launch(line, effects);
    }
    if (FieldText(record.uuid).empty()) {
        return ConnectStep::kNothing;
    }
    // Without a MAC of its own the device cannot be told from a stranger on the LAN, who
    // would be sent its credentials (a search answer without a MAC would even match it).
    if (FieldText(record.uuidMac).empty()) {
        return ConnectStep::kNeedsTunnel;
    }
    // The address that confirmed the device, should a later check forget uuidIp.
    std::optional<std::string> confirmed;
    if (!FieldText(record.uuidIp).empty() && ConfirmRememberedAddress(record, effects)) {
        confirmed = std::string(FieldText(record.uuidIp));
    }
    if (!discoveryRunning && ConfirmDiscoveredAddress(record, target, effects)) {
        confirmed = std::string(FieldText(record.uuidIp));
    }
    if (!confirmed) {
        return ConnectStep::kNeedsTunnel;
    }
    CopyField(record.uuidIp, *confirmed);
    return Launch(StaticViewerCommandLine(record, *confirmed, settings), effects);
}

std::uint16_t TunnelRequestPort(std::string_view serverPort) {
    return static_cast<std::uint16_t>(LeadingDecimalNumber(serverPort));
}

std::string_view ConnectionTypeFor(NatConnectKind connectionKind) {
    return connectionKind == kNatKindPeerToPeer ? "P2P" : "RELAY";
}

int ConnectStatusFor(bool connected, int code) {
    if (connected) {
        return 0;
    }
    switch (code) {
        case kNatErrorDeviceNotExist:
            return -5;
        case kNatErrorCaptcha:
            return -11;
        default:
            return -1;
    }
}

std::string ConnectResultText(bool connected, int code, const ConnectionTarget& target) {
    return "0\t" + std::to_string(ConnectStatusFor(connected, code)) + "\t" + target.address +
           "\t" + std::to_string(target.port) + "\t";
}

void LearnNetworkSettings(std::string_view reply, DeviceRecord& record) {
    for (std::string_view line : ReplyLines(reply)) {
        if (const auto address = KeyLineValue(line, "Network.IPAddress")) {
            if (IsDottedIpv4(*address)) {
                CopyField(record.uuidIp, *address);
            }
        } else if (const auto mac = KeyLineValue(line, "Network.eth0.MACAddress")) {
            // The reply is the device's, the book ours: only a MAC address is kept as one, and
            // a CR LF line's CR goes, as it would when the book is read back.
            const std::string_view value =
                mac->ends_with('\r') ? mac->substr(0, mac->size() - 1) : *mac;
            if (IsMacAddress(value)) {
                CopyField(record.uuidMac, value);
            }
        }
    }
}

ConnectStep CompleteTunnelConnection(DeviceRecord& record, const ConnectionTarget& tunnel,
                                     NatConnectKind connectionKind, const ViewerSettings& settings,
                                     ConnectEffects& effects) {
    const std::optional<std::string> line = TunnelViewerCommandLine(
        record, tunnel.address, tunnel.port, ConnectionTypeFor(connectionKind), settings);
    if (!line) {
        return ConnectStep::kCommandLineTooLong;
    }
    if (!effects.LaunchViewer(*line)) {
        return ConnectStep::kLaunched;
    }
    const std::optional<std::string> reply =
        effects.FetchPage("http://" + tunnel.address + ":" + std::to_string(tunnel.port) +
                              "/cgi-bin/user/Config.cgi?action=get&category=Network.*",
                          record);
    if (!reply) {
        return ConnectStep::kLaunched;
    }
    LearnNetworkSettings(*reply, record);
    if (!FieldText(record.uuidIp).empty() && !FieldText(record.uuidMac).empty()) {
        effects.SaveAddressBook();
    }
    return ConnectStep::kLaunched;
}
