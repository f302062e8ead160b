#include "connect/KeyLines.h"

std::vector<std::string_view> ReplyLines(std::string_view reply) {
    std::vector<std::string_view> lines;
    while (!reply.empty()) {
        const std::size_t end = reply.find('\n');
        const std::string_view line = reply.substr(0, end);
        if (!line.empty()) {
            lines.push_back(line);
        }
        if (end == std::string_view::npos) {
            break;
        }
        reply.remove_prefix(end + 1);
    }
    return lines;
}

std::optional<std::string_view> KeyLineValue(std::string_view line, std::string_view key) {
    if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != '=') {
        return std::nullopt;
    }
    const std::string_view value = line.substr(key.size() + 1);
    if (value.empty() || value.size() > kKeyValueMax) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string_view> FindKeyLine(std::string_view reply, std::string_view key) {
    for (std::string_view line : ReplyLines(reply)) {
        if (const auto value = KeyLineValue(line, key)) {
            return value;
        }
    }
    return std::nullopt;
}
