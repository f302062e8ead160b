// Any Config.cgi reply learned into one device of a book, which is then saved and read back:
//  - the book still has its three devices, in order;
//  - the two other devices read back byte for byte as they were;
//  - the learned device reads back as it was learned, its LAN address a dotted IPv4 address or
//    none, its MAC six hexadecimal pairs or none.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "addressbook/AddressBook.h"
#include "base/FixedText.h"
#include "connect/ConnectDecision.h"
#include "connect/Ipv4Text.h"
#include "connect/MacAddressText.h"

namespace {

void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "learn_fuzz: %s\n", what);
        std::abort();
    }
}

DeviceRecord Device(const char* name, const char* serverIp, const char* uuid) {
    DeviceRecord record{};
    CopyField(record.name, name);
    CopyField(record.serverIp, serverIp);
    CopyField(record.serverPort, "80");
    CopyField(record.account, "admin");
    CopyField(record.password, "secret");
    CopyField(record.uuid, uuid);
    return record;
}

bool Same(const DeviceRecord& a, const DeviceRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The reply is a C text: it ends at its first zero byte, as in HttpGet's buffer.
    const std::string_view whole(reinterpret_cast<const char*>(data), size);
    const std::string reply(whole.substr(0, whole.find('\0')));

    DeviceTable book;
    book.Append(Device("Front Door", "10.0.0.5", ""));
    book.Append(Device("Cabin", "", "KX3W8N1F6TZ0"));
    book.Append(Device("Gate", "10.0.0.7", ""));
    const DeviceTable before = book;
    LearnNetworkSettings(reply, book.At(1));

    DeviceTable loaded;
    Require(!ReadAddressBookBytes(FormatAddressBook(book), loaded), "the saved book does not read");
    Require(loaded.Count() == 3, "the book has another number of devices");
    Require(Same(loaded.At(0), before.At(0)) && Same(loaded.At(2), before.At(2)),
            "another device changed");
    Require(Same(loaded.At(1), book.At(1)), "the learned device reads back otherwise");
    const std::string_view ip = FieldText(loaded.At(1).uuidIp);
    const std::string_view mac = FieldText(loaded.At(1).uuidMac);
    Require(ip.empty() || IsDottedIpv4(ip), "a LAN address that is no address");
    Require(mac.empty() || IsMacAddress(mac), "a MAC that is no MAC");
    return 0;
}
