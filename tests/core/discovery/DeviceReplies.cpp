#include "core/discovery/DeviceReplies.h"

#include <algorithm>

namespace {

void Put(Bytes& bytes, std::size_t offset, std::string_view text) {
    std::copy(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

template <std::size_t N>
void Put(Bytes& bytes, std::size_t offset, const std::array<std::uint8_t, N>& values) {
    std::copy(values.begin(), values.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace

Bytes FixedReply(const FixedReplyFields& fields) {
    Bytes bytes(204, 0);
    Put(bytes, 0, fields.keyword.substr(0, 15));
    bytes[16] = fields.command;
    bytes[17] = fields.status;
    Put(bytes, 18, fields.mac);
    Put(bytes, 56, fields.ip);
    Put(bytes, 60, fields.second);
    Put(bytes, 64, fields.third);
    Put(bytes, 68, fields.fourth);
    Put(bytes, 72, fields.port);
    Put(bytes, 74, fields.option);
    Put(bytes, 76, fields.name.substr(0, 127));
    return bytes;
}

Bytes TextReply(std::string_view text, std::uint8_t dataPresent, bool terminated) {
    Bytes bytes(32 + text.size() + (terminated ? 1 : 0), 0);
    Put(bytes, 0, "KORVEX-v1000");
    bytes[16] = 0x01;
    bytes[25] = dataPresent;
    Put(bytes, 32, text);
    return bytes;
}

Bytes WrongCommandReply() {
    FixedReplyFields fields;
    fields.command = 0x02;
    return FixedReply(fields);
}
