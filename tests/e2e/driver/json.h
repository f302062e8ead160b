// One JSON object per output line, UTF-8, so the Python harness can parse each
// line on its own without caring about Windows code pages.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

std::string toUtf8(const std::wstring& text);
std::string jsonString(const std::wstring& text);
std::string jsonStringArray(const std::vector<std::wstring>& items);
// Joins already-encoded JSON values into an array.
std::string jsonArray(const std::vector<std::string>& encoded);

class JsonObject {
public:
    JsonObject& str(const char* key, const std::wstring& value);
    JsonObject& num(const char* key, long long value);
    JsonObject& flag(const char* key, bool value);
    JsonObject& rect(const char* key, const RECT& r);
    // HWNDs travel as plain numbers; the harness hands them back verbatim.
    JsonObject& hwnd(const char* key, HWND value);
    JsonObject& raw(const char* key, const std::string& encoded);
    std::string encoded() const;
    void print() const;

private:
    std::string body_;
};
