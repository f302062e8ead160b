// The LAN search's datagrams: the 204-byte request, and the two forms of reply (text and fixed
// layout) read into a SearchEntry. Pure functions of bytes; the sockets are elsewhere.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "discovery/SearchEntry.h"

constexpr std::size_t kSearchRequestSize = 204;
// The receive area: a longer datagram ends the search.
constexpr std::size_t kSearchReceiveSize = 512;
constexpr std::uint8_t kSearchCommand = 0x01;
constexpr char kSearchKeyword[] = "KX_SEARCH";
constexpr char kTextReplyKeyword[] = "KORVEX-v1000";

using SearchRequest = std::array<std::uint8_t, kSearchRequestSize>;

// Zeros, "KX_SEARCH" and its zero at offset 0, the command 0x01 at offset 16.
SearchRequest MakeSearchRequest();

enum class ReplyKind {
    kWrongCommand,  // the command echo at offset 16 is not 0x01: the search ends
    kNoEntry,       // a reply whose data-present byte (text) or status byte (fixed) is zero
    kEntry,         // the entry has been filled
};

// Reads one reply datagram of exactly the bytes given. Bytes past its end read as zero, and a
// text without a zero byte ends with the datagram; every text is cut to its field's width. The
// entry is cleared first and filled only for kEntry.
ReplyKind ParseSearchReply(std::span<const std::uint8_t> datagram, SearchEntry& entry);
