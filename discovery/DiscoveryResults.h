// One discovery run without its thread: the search, then the list of devices it found.
#pragma once

#include <vector>

#include "discovery/DiscoveredDevice.h"
#include "discovery/SearchDevices.h"

struct DiscoveryResults {
    bool searched = false;                  // the search succeeded: some answer arrived
    int entries = 0;                        // entries the search filled, duplicates included
    std::vector<DiscoveredDevice> devices;  // one per MAC text; empty when the search failed
};

// Runs one search with a table of kSearchCapacity entries and removes duplicate MAC addresses.
// Blocks for the search's 5 to 10 seconds unless stopped.
DiscoveryResults CollectDiscoveryResults(const SearchTarget& target, const StopRequested& stop);
