// The list of devices that answered the LAN search: one record per MAC address text, and the
// look-up by MAC address that the connect code uses.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/DiscoveredDevice.h"
#include "discovery/SearchEntry.h"

// The record of one entry: every text cut to its field's width (the keyword to 15
// characters), status and port widened; the option word is not carried over.
DiscoveredDevice MakeDiscoveredDevice(const SearchEntry& entry);

// One record per distinct MAC text (letter case counts), in the order of the entries: the
// first answer of each device wins, and every entry without a MAC folds into one record.
std::vector<DiscoveredDevice> RemoveDuplicateMacs(std::span<const SearchEntry> entries);

// Whether two MAC address texts match as the look-up compares them: without regard to ASCII
// letter case, at most 18 characters, stopping at the end of either text.
bool SameMacIgnoringCase(std::string_view given, std::string_view listed);

// The first record whose MAC address matches without regard to ASCII letter case, comparing
// at most 18 characters and stopping at the end of either text; null when none does.
const DiscoveredDevice* FindDeviceByMac(std::span<const DiscoveredDevice> devices,
                                        std::string_view mac);

// The debugger line written after each successful search: "??? Device All=N, Real Device=M.\n"
// with the number of entries and the number of records.
std::string DiscoveryDebugLine(int entries, int devices);
