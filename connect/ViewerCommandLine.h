// The command line that starts the viewer: "Pellix.exe", a space and eleven KEY=value# fields.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "addressbook/DeviceRecord.h"
#include "texts/Language.h"

// The longest command line the viewer is started with, in characters.
constexpr std::size_t kMaxViewerCommandLine = 511;

// What the main window adds to every launch: its program folder in the ANSI code page, which
// the line carries as PATH=path=<folder>&, and the language.
struct ViewerSettings {
    std::string programFolder;
    Language language = Language::kChinese;
};

// "path=<folder>&" as the viewer expects it, cut to 259 characters.
std::string PathArgumentFor(std::string_view programFolder);

// A direct connection (a static address, or a cloud device confirmed on the LAN): IP is the
// given address, PORT the record's port text as stored, CONNECTTYPE "STATIC IP". Nothing when
// the line would be longer than kMaxViewerCommandLine: a viewer must never get a line cut
// short.
std::optional<std::string> StaticViewerCommandLine(const DeviceRecord& record, std::string_view ip,
                                                   const ViewerSettings& settings);

// A connection through the NAT tunnel: IP and PORT are the tunnel's local end, CONNECTTYPE
// "P2P" or "RELAY".
std::optional<std::string> TunnelViewerCommandLine(const DeviceRecord& record,
                                                   std::string_view address, std::uint16_t port,
                                                   std::string_view connectType,
                                                   const ViewerSettings& settings);
