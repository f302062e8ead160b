#include "app/ConnectArgument.h"

namespace {

constexpr std::wstring_view kConnectOption = L"--connect";

}  // namespace

std::optional<std::wstring> ConnectNameOf(std::span<const std::wstring> arguments) {
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == kConnectOption) {
            return arguments[i + 1];
        }
    }
    return std::nullopt;
}

std::wstring ConnectArguments(std::wstring_view deviceName) {
    // The parser's rules: inside quotes, 2n backslashes before a quote are n backslashes and
    // the quote ends the text, 2n+1 are n and a quote of the text; backslashes before anything
    // else are themselves.
    std::wstring arguments(kConnectOption);
    arguments += L" \"";
    std::size_t backslashes = 0;
    for (const wchar_t c : deviceName) {
        if (c == L'\\') {
            ++backslashes;
        } else if (c == L'"') {
            arguments.append(backslashes + 1, L'\\');
            backslashes = 0;
        } else {
            backslashes = 0;
        }
        arguments += c;
    }
    arguments.append(backslashes, L'\\');  // doubled before the closing quote
    arguments += L'"';
    return arguments;
}
