#include "discovery/DiscoveryResults.h"

#include "discovery/DiscoveryList.h"

DiscoveryResults CollectDiscoveryResults(const SearchTarget& target, const StopRequested& stop) {
    DiscoveryResults results;
    // Half a megabyte: on the heap rather than on the worker's stack.
    std::vector<SearchEntry> table(kSearchCapacity);
    const SearchReport report = SearchDevices(table, target, stop);
    if (!report.answered) {
        return results;
    }
    results.searched = true;
    results.entries = report.count;
    results.devices =
        RemoveDuplicateMacs(std::span(table).first(static_cast<std::size_t>(report.count)));
    return results;
}
