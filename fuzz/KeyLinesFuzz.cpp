// Any reply text to the key-line reader, with the C library's own reading as the oracle:
//  - the lines are the text without its LFs, none of them empty;
//  - a line reads as a key line exactly when sscanf(line, "KEY=%[^\n]") reads a value of 1 to
//    31 characters, and then with that value.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "connect/KeyLines.h"

namespace {

const char* const kKeys[] = {"MAC-Address", "Network.IPAddress", "Network.eth0.MACAddress"};

void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "keylines_fuzz: %s\n", what);
        std::abort();
    }
}

std::optional<std::string> ScanfValue(const std::string& line, const char* key) {
    const std::string format = std::string(key) + "=%8191[^\n]";
    static char value[8192];
    if (std::sscanf(line.c_str(), format.c_str(), value) != 1) {
        return std::nullopt;
    }
    const std::string read = value;
    if (read.size() > kKeyValueMax) {
        return std::nullopt;
    }
    return read;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The reply is a C text: it ends at its first zero byte, as in HttpGet's buffer.
    std::string_view whole(reinterpret_cast<const char*>(data), size);
    const std::string reply(whole.substr(0, whole.find('\0')));

    std::string joined;
    for (std::string_view line : ReplyLines(reply)) {
        Require(!line.empty(), "an empty line");
        Require(line.find('\n') == std::string_view::npos, "a line holds an LF");
        joined += line;
        const std::string text(line);
        for (const char* key : kKeys) {
            const std::optional<std::string_view> value = KeyLineValue(line, key);
            const std::optional<std::string> expected = ScanfValue(text, key);
            Require(value.has_value() == expected.has_value(), "disagrees with sscanf on a line");
            Require(!value || std::string(*value) == *expected, "reads another value than sscanf");
        }
    }
    std::string withoutLf;
    for (char c : reply) {
        if (c != '\n') {
            withoutLf += c;
        }
    }
    Require(joined == withoutLf, "the lines are not the text without its LFs");
    return 0;
}
