#include "natlib/Directory.h"

#include <charconv>
#include <limits>
#include <span>

namespace {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while ((start = line.find_first_not_of(" \t\r", start)) != std::string_view::npos) {
        const std::size_t end = line.find_first_of(" \t\r", start);
        const std::string_view word = line.substr(start, end - start);
        if (word.front() == '#') {
            break;
        }
        words.push_back(word);
        start = end;
    }
    return words;
}

// A decimal integer, "-5" included.
std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Digits only, no sign and no leading zero, as in "192.168.1.10" and "80"; at most high.
std::optional<int> PlainNumber(std::string_view text, int high) {
    if (text.empty() || text.front() == '-' || (text.size() > 1 && text.front() == '0')) {
        return std::nullopt;
    }
    const std::optional<int> value = Number(text);
    return value && *value <= high ? value : std::nullopt;
}

constexpr int kMost = std::numeric_limits<int>::max();

std::optional<std::uint32_t> DottedAddress(std::string_view text) {
    std::uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = part < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos) {
            return std::nullopt;
        }
        const std::optional<int> value = PlainNumber(text.substr(0, dot), 255);
        if (!value) {
            return std::nullopt;
        }
        address = address << 8 | static_cast<std::uint32_t>(*value);
        text.remove_prefix(dot == text.size() ? dot : dot + 1);
    }
    return address;
}

// device <uuid> <a.b.c.d>:<port> p2p|relay|error <code> [delay <ms>]
std::optional<NatDevice> DeviceLine(std::span<const std::string_view> words) {
    if (words.size() < 3) {
        return std::nullopt;
    }
    NatDevice device{
        std::string(words[0]),       std::string(words[1]), 0, 0, NatOutcome::kError, 0,
        std::chrono::milliseconds(0)};
    const std::size_t colon = words[1].rfind(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<std::uint32_t> address = DottedAddress(words[1].substr(0, colon));
    const std::optional<int> port = PlainNumber(words[1].substr(colon + 1), 65535);
    if (!address || !port || *port == 0) {
        return std::nullopt;
    }
    device.address = *address;
    device.port = static_cast<std::uint16_t>(*port);

    std::span<const std::string_view> rest = words.subspan(3);
    if (words[2] == "p2p") {
        device.outcome = NatOutcome::kPeerToPeer;
    } else if (words[2] == "relay") {
        device.outcome = NatOutcome::kRelay;
    } else if (words[2] == "error" && !rest.empty()) {
        const std::optional<int> code = Number(rest.front());
        if (!code) {
            return std::nullopt;
        }
        device.errorCode = *code;
        rest = rest.subspan(1);
    } else {
        return std::nullopt;
    }

    if (rest.size() == 2 && rest[0] == "delay") {
        const std::optional<int> delay = PlainNumber(rest[1], kMost);
        if (!delay) {
            return std::nullopt;
        }
        device.delay = std::chrono::milliseconds(*delay);
    } else if (!rest.empty()) {
        return std::nullopt;
    }
    return device;
}

}  // namespace

const NatDevice* NatDirectory::Find(std::string_view uuid) const {
    for (const NatDevice& device : devices) {
        if (device.uuid == uuid) {
            return &device;
        }
    }
    return nullptr;
}

NatDirectory ParseNatDirectory(std::string_view text) {
    NatDirectory directory;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        const std::vector<std::string_view> words = Words(line);
        if (words.size() == 2 && words[0] == "init-error") {
            if (const std::optional<int> code = Number(words[1])) {
                directory.initError = code;
            }
        } else if (words.size() == 1 && words[0] == "scribble") {
            directory.scribble = true;
        } else if (words.size() == 1 && words[0] == "keep-host-name") {
            directory.keepHostName = true;
        } else if (words.size() == 2 && words[0] == "linger") {
            if (const std::optional<int> ms = PlainNumber(words[1], kMost)) {
                directory.linger = std::chrono::milliseconds(*ms);
            }
        } else if (words.size() == 2 && words[0] == "call-after-deinit") {
            if (const std::optional<int> ms = PlainNumber(words[1], kMost)) {
                directory.callAfterDeInit = std::chrono::milliseconds(*ms);
            }
        } else if (words.size() == 2 && words[0] == "flood") {
            if (const std::optional<int> count = PlainNumber(words[1], kMost)) {
                directory.flood = *count;
            }
        } else if (!words.empty() && words[0] == "device") {
            if (std::optional<NatDevice> device =
                    DeviceLine(std::span<const std::string_view>(words).subspan(1))) {
                // A later line for the same UUID takes the earlier one's place.
                std::erase_if(directory.devices,
                              [&](const NatDevice& known) { return known.uuid == device->uuid; });
                directory.devices.push_back(std::move(*device));
            }
        }
    }
    return directory;
}
