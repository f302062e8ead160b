#include "viewer/ReceivedCommandLine.h"

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

struct ProgramPart {
    std::string_view program;
    std::size_t fieldsStart;  // after the program name and the blanks that follow it
};

ProgramPart SplitProgram(std::string_view line) {
    std::string_view program;
    std::size_t rest = 0;
    if (line.starts_with('"')) {
        const std::size_t quote = line.find('"', 1);
        program = line.substr(1, quote == std::string_view::npos ? quote : quote - 1);
        rest = quote == std::string_view::npos ? line.size() : quote + 1;
    } else {
        rest = std::min(line.find_first_of(kBlanks), line.size());
        program = line.substr(0, rest);
    }
    return {program, std::min(line.find_first_not_of(kBlanks, rest), line.size())};
}

// Calls visit(key, valueStart, valueLength) for each "KEY=value" field in order, known key or
// not; positions count from the start of the line.
template <class Visit>
void ForEachField(std::string_view line, Visit visit) {
    std::size_t at = SplitProgram(line).fieldsStart;
    while (at < line.size()) {
        const std::size_t equals = line.find('=', at);
        if (equals == std::string_view::npos) {
            break;
        }
        const std::size_t valueStart = equals + 1;
        const std::size_t length = ValueEnd(line.substr(valueStart));
        visit(line.substr(at, equals - at), valueStart, length);
        at = std::min(valueStart + length + 1, line.size());
        if (line.find_first_not_of(kBlanks, at) == std::string_view::npos) {
            break;
        }
    }
}

}  // namespace

ReceivedCommandLine ParseReceivedCommandLine(std::string_view line) {
    ReceivedCommandLine parsed;
    parsed.program = SplitProgram(line).program;
    ForEachField(line, [&](std::string_view key, std::size_t start, std::size_t length) {
        if (const std::optional<std::size_t> index = KeyIndex(key);
            index && !parsed.values[*index]) {
            parsed.values[*index] = std::string(line.substr(start, length));
        }
    });
    return parsed;
}

std::string MaskPasswords(std::string_view line) {
    std::string masked;
    std::size_t copied = 0;
    ForEachField(line, [&](std::string_view key, std::size_t start, std::size_t length) {
        if (key != kViewerKeys[kViewerPasswordField] || length == 0) {
            return;
        }
        masked.append(line.substr(copied, start - copied)).append(kMaskedPassword);
        copied = start + length;
    });
    return masked.append(line.substr(copied));
}
