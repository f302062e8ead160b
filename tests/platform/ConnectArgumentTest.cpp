// The arguments a desktop shortcut carries, read back by the platform's own command-line
// parser as the launcher reads its command line.
#include "app/ConnectArgument.h"

#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> ParsedByThePlatform(const std::wstring& arguments) {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW((L"Tavrin.exe " + arguments).c_str(), &count);
    std::vector<std::wstring> parsed(argv + 1, argv + count);
    LocalFree(argv);
    return parsed;
}

TEST(ConnectArgumentTest, EveryNameComesBackWhole) {
    const std::wstring names[] = {
        L"Front Door", L"Cam",       L"say \"cheese\"", L"ends in \\", L"\\\\server\\cam \\\"x\\\"",
        L"  blanks  ", L"--connect", L"王小明 大門",    L"tab\there",  L"",
    };
    for (const std::wstring& name : names) {
        const std::vector<std::wstring> parsed = ParsedByThePlatform(ConnectArguments(name));
        EXPECT_EQ(parsed.size(), 2U);
        EXPECT_EQ(ConnectNameOf(parsed), name);
    }
    // Other arguments around it are ignored; a --connect without a name names nothing.
    EXPECT_EQ(ConnectNameOf(ParsedByThePlatform(L"/x --connect Lobby --y")), L"Lobby");
    EXPECT_EQ(ConnectNameOf(ParsedByThePlatform(L"--connect")), std::nullopt);
}

}  // namespace
