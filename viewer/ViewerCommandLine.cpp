#include "viewer/ViewerCommandLine.h"

#include <algorithm>

namespace {

constexpr std::string_view kBlanks = " \t";

std::optional<std::size_t> KeyIndex(std::string_view key) {
    const auto found = std::find(kViewerKeys.begin(), kViewerKeys.end(), key);
    if (found == kViewerKeys.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - kViewerKeys.begin());
}

// Whether a '#' just before this text closes a value: the line ends (blanks aside) or the
// next field begins.
bool ClosesValue(std::string_view after) {
    if (after.find_first_not_of(kBlanks) == std::string_view::npos) {
        return true;
    }
    const std::size_t equals = after.find('=');
    return equals != std::string_view::npos && KeyIndex(after.substr(0, equals)).has_value();
}

// Where the value that starts the text ends: the position of its closing '#', or the text's end.
std::size_t ValueEnd(std::string_view text) {
    for (std::size_t hash = text.find('#'); hash != std::string_view::npos;
         hash = text.find('#', hash + 1)) {
        if (ClosesValue(text.substr(hash + 1))) {
            return hash;
        }
    }
    return text.size();
}

}  // namespace

ViewerCommandLine ParseViewerCommandLine(std::string_view line) {
    ViewerCommandLine parsed;
    std::string_view rest;
    if (line.starts_with('"')) {
        const std::size_t quote = line.find('"', 1);
        parsed.program = line.substr(1, quote == std::string_view::npos ? quote : quote - 1);
        rest = quote == std::string_view::npos ? std::string_view() : line.substr(quote + 1);
    } else {
        const std::size_t blank = std::min(line.find_first_of(kBlanks), line.size());
        parsed.program = line.substr(0, blank);
        rest = line.substr(blank);
    }
    rest.remove_prefix(std::min(rest.find_first_not_of(kBlanks), rest.size()));

    while (!rest.empty()) {
        const std::size_t equals = rest.find('=');
        if (equals == std::string_view::npos) {
            break;
        }
        const std::string_view key = rest.substr(0, equals);
        rest.remove_prefix(equals + 1);
        const std::size_t end = ValueEnd(rest);
        if (const std::optional<std::size_t> index = KeyIndex(key);
            index && !parsed.values[*index]) {
            parsed.values[*index] = std::string(rest.substr(0, end));
        }
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (rest.find_first_not_of(kBlanks) == std::string_view::npos) {
            break;
        }
    }
    return parsed;
}
