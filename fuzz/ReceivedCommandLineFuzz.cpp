// The stand-in viewer's command-line parser. Any bytes: no crash, every value read is a piece
// of the line, and the masked line, read again, has the same fields with the password masked
// (what the log holds can never show a password). Then the input's pieces as the eleven values of a
// line laid out as the launcher lays it out (values without '#', which the launcher never escapes):
// every value must come back exactly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/ReceivedCommandLine.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        __builtin_trap();  // libFuzzer keeps the input that got here
    }
    (void)what;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const ReceivedCommandLine any = ParseReceivedCommandLine(bytes);
    for (const auto& value : any.values) {
        Require(!value || bytes.find(*value) != std::string_view::npos,
                "a value that is not part of the line");
    }
    const ReceivedCommandLine masked = ParseReceivedCommandLine(MaskPasswords(bytes));
    for (std::size_t i = 0; i < kViewerKeys.size(); ++i) {
        const std::optional<std::string>& before = any.values[i];
        const std::optional<std::string>& after = masked.values[i];
        const bool expected = i != kViewerPasswordField || !before || before->empty()
                                  ? after == before
                                  : after && *after == kMaskedPassword;
        Require(expected, "masking changed a field other than by masking the password");
    }

    std::vector<std::string> values(kViewerKeys.size());
    std::size_t field = 0;
    for (char c : bytes) {
        if (c == '\0') {
            field = (field + 1) % values.size();
        } else if (c != '#' && c != '\r' && c != '\n') {
            values[field] += c;
        }
    }
    std::string line = "Pellix.exe ";
    for (std::size_t i = 0; i < values.size(); ++i) {
        line.append(kViewerKeys[i]).append("=").append(values[i]).append("#");
    }
    const ReceivedCommandLine parsed = ParseReceivedCommandLine(line);
    Require(parsed.program == "Pellix.exe", "the program name changed");
    for (std::size_t i = 0; i < values.size(); ++i) {
        Require(parsed.values[i] && *parsed.values[i] == values[i], "a value did not come back");
    }
    return 0;
}
