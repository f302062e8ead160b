// Search replies laid out byte by byte as a device sends them, written apart from the
// launcher's parser so that a wrong offset cannot hide in both.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

struct FixedReplyFields {
    std::string keyword = "KX_SEARCH";
    std::uint8_t command = 0x01;
    std::uint8_t status = 1;
    std::array<std::uint8_t, 6> mac = {0x02, 0xAB, 0xCD, 0x0A, 0x0B, 0x0C};
    std::array<std::uint8_t, 4> ip = {192, 168, 1, 10};
    std::array<std::uint8_t, 4> second = {255, 255, 255, 0};
    std::array<std::uint8_t, 4> third = {192, 168, 1, 1};
    std::array<std::uint8_t, 4> fourth = {8, 8, 4, 4};
    std::array<std::uint8_t, 2> port = {0x50, 0x00};  // as sent: least significant byte first
    std::array<std::uint8_t, 2> option = {0x00, 0x00};
    std::string name = "Front door";
};

// A 204-byte fixed-layout reply.
Bytes FixedReply(const FixedReplyFields& fields = {});

// A text reply: "KORVEX-v1000", the command echo, the data-present byte and the text at 32,
// ended by a zero byte unless `terminated` is false.
Bytes TextReply(std::string_view text, std::uint8_t dataPresent = 1, bool terminated = true);

// A reply whose command echo is 2: the search ends at it.
Bytes WrongCommandReply();
