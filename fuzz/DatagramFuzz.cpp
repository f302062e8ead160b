// Any bytes as a search reply, then what holds for every datagram:
//  - each text field of the entry ends within its width;
//  - the bytes past a datagram's end read as zero: the datagram and the same datagram padded
//    with zeros to the receive area's size give the same entry;
//  - nothing is filled unless an entry is reported, and a wrong command echo is exactly a
//    byte 16 other than 0x01;
//  - the entry survives the list: duplicates fold and the look-up by its MAC finds it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/FixedText.h"
#include "discovery/DiscoveryList.h"
#include "discovery/SearchDatagrams.h"

namespace {

void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "datagram_fuzz: %s\n", what);
        std::abort();
    }
}

template <std::size_t N>
void RequireTerminated(const char (&field)[N], const char* what) {
    Require(std::memchr(field, '\0', N) != nullptr, what);
}

void CheckFields(const SearchEntry& entry) {
    RequireTerminated(entry.keyword, "keyword runs past its field");
    RequireTerminated(entry.ipAddress, "IP address runs past its field");
    RequireTerminated(entry.macAddress, "MAC address runs past its field");
    RequireTerminated(entry.secondAddress, "second address runs past its field");
    RequireTerminated(entry.thirdAddress, "third address runs past its field");
    RequireTerminated(entry.fourthAddress, "fourth address runs past its field");
    RequireTerminated(entry.name, "name runs past its field");
    RequireTerminated(entry.networkType, "network type runs past its field");
    RequireTerminated(entry.deviceType, "device type runs past its field");
    RequireTerminated(entry.title, "title runs past its field");
    RequireTerminated(entry.cloud, "cloud runs past its field");
    RequireTerminated(entry.internet, "internet runs past its field");
    RequireTerminated(entry.cloudLoginName, "cloud login name runs past its field");
    RequireTerminated(entry.flag, "flag runs past its field");
    RequireTerminated(entry.wirelessDevice, "wireless device runs past its field");
    Require(FieldText(entry.flag) == "0" || FieldText(entry.flag) == "1", "flag is not 0 or 1");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // What the search can receive: at most the receive area.
    if (size > kSearchReceiveSize) {
        size = kSearchReceiveSize;
    }
    const std::vector<std::uint8_t> datagram(data, data + size);
    SearchEntry entry;
    std::memset(&entry, 0x5A, sizeof entry);  // the parser must clear what it does not fill
    const ReplyKind kind = ParseSearchReply(datagram, entry);

    const bool wrongEcho = size <= 16 || datagram[16] != kSearchCommand;
    Require((kind == ReplyKind::kWrongCommand) == wrongEcho, "command echo misread");
    if (kind != ReplyKind::kEntry) {
        const SearchEntry empty{};
        Require(std::memcmp(&entry, &empty, sizeof entry) == 0, "no entry, but fields filled");
        return 0;
    }
    CheckFields(entry);

    std::vector<std::uint8_t> padded = datagram;
    padded.resize(kSearchReceiveSize, 0);
    SearchEntry again{};
    Require(ParseSearchReply(padded, again) == kind, "padding with zeros changed the form");
    Require(std::memcmp(&entry, &again, sizeof entry) == 0,
            "padding with zeros changed the entry: bytes past the end are not read as zero");

    const SearchEntry twice[] = {entry, again};
    const std::vector<DiscoveredDevice> devices = RemoveDuplicateMacs(twice);
    Require(devices.size() == 1, "the same MAC twice gave two records");
    Require(FindDeviceByMac(devices, FieldText(entry.macAddress)) == &devices[0],
            "the look-up misses the record's own MAC");
    return 0;
}
