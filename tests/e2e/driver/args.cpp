#include "args.h"

#include <cwchar>

namespace {

std::string narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

long long parseNumber(const std::wstring& name, const std::wstring& value) {
    wchar_t* end = nullptr;
    long long n = std::wcstoll(value.c_str(), &end, 0);
    if (value.empty() || *end != L'\0')
        throw UsageError("--" + narrow(name) + " needs a number, got '" + narrow(value) + "'");
    return n;
}

}  // namespace

Args::Args(int argc, wchar_t** argv) {
    if (argc < 2)
        throw UsageError("no command given");
    command_ = argv[1];
    for (int i = 2; i < argc; i += 2) {
        std::wstring name = argv[i];
        if (name.rfind(L"--", 0) != 0 || i + 1 >= argc)
            throw UsageError("expected '--name value', got '" + narrow(name) + "'");
        options_[name.substr(2)].push_back(argv[i + 1]);
    }
}

bool Args::has(const wchar_t* name) const {
    return options_.count(name) != 0;
}

std::wstring Args::text(const wchar_t* name, const std::wstring& fallback) const {
    auto it = options_.find(name);
    return it == options_.end() ? fallback : it->second.back();
}

long long Args::number(const wchar_t* name, long long fallback) const {
    return has(name) ? parseNumber(name, text(name)) : fallback;
}

std::vector<long long> Args::numbers(const wchar_t* name) const {
    std::vector<long long> out;
    auto it = options_.find(name);
    if (it != options_.end())
        for (const auto& value : it->second)
            out.push_back(parseNumber(name, value));
    return out;
}

HWND Args::hwnd() const {
    if (!has(L"hwnd"))
        throw UsageError("--hwnd is required");
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(number(L"hwnd", 0)));
}

DWORD Args::timeoutMs() const {
    std::wstring value = text(L"timeout", L"10");
    wchar_t* end = nullptr;
    double seconds = std::wcstod(value.c_str(), &end);
    if (*end != L'\0' || seconds < 0)
        throw UsageError("--timeout needs seconds");
    return static_cast<DWORD>(seconds * 1000);
}
