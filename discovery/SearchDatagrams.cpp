#include "discovery/SearchDatagrams.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "base/FixedText.h"

namespace {

constexpr std::size_t kCommandOffset = 16;

// Empty values point somewhere: CopyField hands its text's pointer to memcpy.
constexpr std::string_view kNoText = "";

// Text reply.
constexpr std::size_t kTextMarkSize = sizeof kTextReplyKeyword;  // the keyword and its zero
constexpr std::size_t kDataPresentOffset = 25;
constexpr std::size_t kTextOffset = 32;

// Fixed-layout reply.
constexpr std::size_t kStatusOffset = 17;
constexpr std::size_t kMacOffset = 18;
constexpr std::size_t kIpOffset = 56;
constexpr std::size_t kSecondAddressOffset = 60;
constexpr std::size_t kThirdAddressOffset = 64;
constexpr std::size_t kFourthAddressOffset = 68;
constexpr std::size_t kPortOffset = 72;
constexpr std::size_t kOptionOffset = 74;
constexpr std::size_t kNameOffset = 76;

// One received datagram. The receive area is reused, so whatever lies past this datagram's
// end belongs to an earlier one: it reads as zero here.
class Datagram {
public:
    explicit Datagram(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::uint8_t At(std::size_t offset) const {
        return offset < m_bytes.size() ? m_bytes[offset] : 0;
    }

    // Least significant byte first, as the devices send it.
    std::uint16_t Word(std::size_t offset) const {
        return static_cast<std::uint16_t>(At(offset) | At(offset + 1) << 8);
    }

    // The text from the offset to its zero byte, or to the datagram's end without one.
    std::string_view TextAt(std::size_t offset) const {
        if (offset >= m_bytes.size()) {
            return kNoText;
        }
        const auto* start = reinterpret_cast<const char*>(m_bytes.data()) + offset;
        const std::size_t room = m_bytes.size() - offset;
        const void* zero = std::memchr(start, '\0', room);
        return {start,
                zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - start) : room};
    }

    bool StartsWith(const char* text, std::size_t size) const {
        for (std::size_t i = 0; i < size; ++i) {
            if (At(i) != static_cast<std::uint8_t>(text[i])) {
                return false;
            }
        }
        return true;
    }

private:
    std::span<const std::uint8_t> m_bytes;
};

// Room for a dotted address (15 characters) or a MAC address (17) and the zero.
struct ShortText {
    char text[24];
};

ShortText DottedAddress(const Datagram& datagram, std::size_t offset) {
    ShortText address{};
    std::snprintf(address.text, sizeof address.text, "%d.%d.%d.%d", datagram.At(offset),
                  datagram.At(offset + 1), datagram.At(offset + 2), datagram.At(offset + 3));
    return address;
}

ShortText MacText(const Datagram& datagram) {
    ShortText mac{};
    std::snprintf(mac.text, sizeof mac.text, "%.2x:%.2x:%.2x:%.2x:%.2x:%.2x",
                  datagram.At(kMacOffset), datagram.At(kMacOffset + 1), datagram.At(kMacOffset + 2),
                  datagram.At(kMacOffset + 3), datagram.At(kMacOffset + 4),
                  datagram.At(kMacOffset + 5));
    return mac;
}

// The value of the first occurrence of the key (with its "=") anywhere in the text, up to
// the next "&". A plain substring search, as the devices' own readers do: a key may be found
// inside another field's name or value.
std::string_view FieldValue(std::string_view text, std::string_view key) {
    const std::size_t found = text.find(key);
    if (found == std::string_view::npos) {
        return kNoText;
    }
    const std::string_view value = text.substr(found + key.size());
    return value.substr(0, value.find('&'));
}

// Like FieldValue, but running to the end of the whole text, "&" and later fields included.
std::string_view RestOfText(std::string_view text, std::string_view key) {
    const std::size_t found = text.find(key);
    return found == std::string_view::npos ? kNoText : text.substr(found + key.size());
}

constexpr bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// "Port=" read as a signed decimal number after optional white space; its low 16 bits. No
// digits give 0.
std::uint16_t PortValue(std::string_view text) {
    const std::string_view value = RestOfText(text, "Port=");
    std::size_t i = 0;
    while (i < value.size() && IsBlank(value[i])) {
        ++i;
    }
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    std::uint16_t number = 0;  // wraps: only the low 16 bits are kept anyway
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        number = static_cast<std::uint16_t>(number * 10 + (value[i] - '0'));
    }
    return negative ? static_cast<std::uint16_t>(0u - number) : number;
}

void FillFromText(std::string_view text, SearchEntry& entry) {
    CopyField(entry.macAddress, FieldValue(text, "MAC="));
    CopyField(entry.ipAddress, FieldValue(text, "IPAddress="));
    entry.port = PortValue(text);
    CopyField(entry.wirelessDevice, FieldValue(text, "Wireless-Device="));
    CopyField(entry.networkType, FieldValue(text, "NetworkType="));
    CopyField(entry.deviceType, FieldValue(text, "DEVICE_TYPE="));
    CopyField(entry.cloudLoginName, FieldValue(text, "CloudLoginName="));
    CopyField(entry.title, FieldValue(text, "Title="));
    CopyField(entry.cloud, FieldValue(text, "Cloud="));
    CopyField(entry.internet, RestOfText(text, "Internet="));
}

// The search's own keyword always gives "0"; any other keyword takes bit 0 of the option word.
const char* FixedLayoutFlag(std::string_view keyword, std::uint16_t optionWord) {
    if (keyword == kSearchKeyword) {
        return "0";
    }
    return (optionWord & 1) != 0 ? "1" : "0";
}

void FillFromFixedLayout(const Datagram& datagram, SearchEntry& entry) {
    entry.status = datagram.At(kStatusOffset);
    const std::string_view keyword = datagram.TextAt(0);
    CopyField(entry.keyword, keyword);
    CopyField(entry.ipAddress, DottedAddress(datagram, kIpOffset).text);
    entry.port = datagram.Word(kPortOffset);
    CopyField(entry.macAddress, MacText(datagram).text);
    CopyField(entry.secondAddress, DottedAddress(datagram, kSecondAddressOffset).text);
    CopyField(entry.thirdAddress, DottedAddress(datagram, kThirdAddressOffset).text);
    CopyField(entry.fourthAddress, DottedAddress(datagram, kFourthAddressOffset).text);
    entry.optionWord = datagram.Word(kOptionOffset);
    CopyField(entry.flag, FixedLayoutFlag(keyword, entry.optionWord));
    CopyField(entry.name, datagram.TextAt(kNameOffset));
}

}  // namespace

SearchRequest MakeSearchRequest() {
    SearchRequest request{};
    std::memcpy(request.data(), kSearchKeyword, sizeof kSearchKeyword);
    request[kCommandOffset] = kSearchCommand;
    return request;
}

ReplyKind ParseSearchReply(std::span<const std::uint8_t> bytes, SearchEntry& entry) {
    entry = SearchEntry{};
    const Datagram datagram(bytes);
    if (datagram.At(kCommandOffset) != kSearchCommand) {
        return ReplyKind::kWrongCommand;
    }
    if (datagram.StartsWith(kTextReplyKeyword, kTextMarkSize)) {
        if (datagram.At(kDataPresentOffset) == 0) {
            return ReplyKind::kNoEntry;
        }
        entry.status = 1;
        CopyField(entry.keyword, datagram.TextAt(0));
        FillFromText(datagram.TextAt(kTextOffset), entry);
        CopyField(entry.flag, "0");
        return ReplyKind::kEntry;
    }
    if (datagram.At(kStatusOffset) == 0) {
        return ReplyKind::kNoEntry;
    }
    FillFromFixedLayout(datagram, entry);
    return ReplyKind::kEntry;
}
