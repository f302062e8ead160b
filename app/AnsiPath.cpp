#include "app/AnsiPath.h"

#include <windows.h>

std::optional<std::string> AnsiPath(std::wstring_view path) {
    const int wideLength = static_cast<int>(path.size());
    const int length =
        WideCharToMultiByte(CP_ACP, 0, path.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return std::nullopt;
    }
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, path.data(), wideLength, ansi.data(), length, nullptr, nullptr);
    // Only a path that reads back as the same letters is the file the user chose.
    const int backLength =
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), length, nullptr, 0);
    if (backLength != wideLength) {
        return std::nullopt;
    }
    std::wstring back(static_cast<std::size_t>(backLength), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), length, back.data(), backLength);
    if (back != path) {
        return std::nullopt;
    }
    return ansi;
}
