#include "natlib/Directory.h"

#include <charconv>
#include <string>
#include <vector>

namespace {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while ((start = line.find_first_not_of(" \t\r", start)) != std::string_view::npos) {
        const std::size_t end = line.find_first_of(" \t\r", start);
        words.push_back(line.substr(start, end - start));
        start = end;
    }
    return words;
}

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

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
        }
    }
    return directory;
}
