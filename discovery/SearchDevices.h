// The LAN search: one request broadcast to the devices, then their answers collected for a
// few seconds into the caller's table. One blocking call, normally 5 to 10 seconds long.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "discovery/SearchDatagrams.h"
#include "discovery/SearchEntry.h"
#include "discovery/UdpSocket.h"

constexpr std::size_t kSearchCapacity = 1024;
constexpr std::uint16_t kSearchRequestPort = 7777;
constexpr std::uint16_t kSearchAnswerPort = 3332;

// Where the request goes and where answers are awaited (on every local address). The
// launcher always uses these defaults; tests point a search at loopback.
struct SearchTarget {
    std::uint32_t address = kLimitedBroadcastAddress;
    std::uint16_t port = kSearchRequestPort;
    std::uint16_t answerPort = kSearchAnswerPort;
};

// Asked before each wait slice of the search, so a stop is seen within about 50 ms, between
// datagrams and while waiting alike. True ends the search. An empty function never stops it.
using StopRequested = std::function<bool()>;

// Why a search ended.
enum class SearchEnd {
    kSilence,        // no datagram within 5 s; writes "Run exit2\n" to standard output
    kReceiveFailed,  // the receive failed or gave no bytes, or a datagram over 512 bytes came
    kWrongCommand,   // a datagram whose command echo is not 0x01
    kTableFull,      // the count reached the table's capacity
    kTimeUp,         // 5 s or more on the clock since the start; writes "Run exit1\n"
    kStopped,        // the caller asked it to stop
    kNoSocket,       // the answer socket could not be created or bound
    kBadCapacity,    // a table larger than kSearchCapacity: nothing was done
};

struct SearchReport {
    bool answered = false;  // a datagram with the right command echo arrived
    int count = 0;          // entries filled from index 0; 0 unless answered
    SearchEnd end = SearchEnd::kBadCapacity;
};

// Sends the request from a socket of its own, with broadcast enabled, waiting at most 5 s for
// the socket to take it. True when all its bytes went out.
bool SendSearchRequest(const SearchRequest& request, const SearchTarget& target,
                       const StopRequested& stop);

// Runs one search. The table (all zero) is filled with one entry per usable answer, in the
// order of arrival, duplicates included; its size is the capacity, at most kSearchCapacity.
SearchReport SearchDevices(std::span<SearchEntry> table, const SearchTarget& target = {},
                           const StopRequested& stop = {});
