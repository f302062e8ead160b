// Command line of e2edriver: a command word followed by --name value options.
#pragma once

#include <windows.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

// Exit code 2: the harness called us wrongly, which is a bug in the test.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Exit code 1: what the test asked for is not there (or did not happen in time).
struct NotFound : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Args {
public:
    Args(int argc, wchar_t** argv);

    const std::wstring& command() const { return command_; }
    bool has(const wchar_t* name) const;
    std::wstring text(const wchar_t* name, const std::wstring& fallback = {}) const;
    // Accepts decimal or 0x-prefixed hex, as HWNDs may come either way.
    long long number(const wchar_t* name, long long fallback) const;
    std::vector<long long> numbers(const wchar_t* name) const;
    HWND hwnd() const;
    DWORD timeoutMs() const;

private:
    std::wstring command_;
    std::map<std::wstring, std::vector<std::wstring>> options_;
};
