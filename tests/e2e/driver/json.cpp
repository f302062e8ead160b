#include "json.h"

#include <cstdio>

std::string toUtf8(const std::wstring& text) {
    if (text.empty())
        return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::string jsonString(const std::wstring& text) {
    std::string out = "\"";
    for (char c : toUtf8(text)) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char esc[8];
                    std::snprintf(esc, sizeof esc, "\\u%04x", c);
                    out += esc;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::string jsonArray(const std::vector<std::string>& encoded) {
    std::string out = "[";
    for (size_t i = 0; i < encoded.size(); ++i)
        out += (i ? "," : "") + encoded[i];
    return out + "]";
}

std::string jsonStringArray(const std::vector<std::wstring>& items) {
    std::vector<std::string> encoded;
    for (const auto& item : items)
        encoded.push_back(jsonString(item));
    return jsonArray(encoded);
}

JsonObject& JsonObject::raw(const char* key, const std::string& encoded) {
    if (!body_.empty())
        body_ += ",";
    body_ += "\"" + std::string(key) + "\":" + encoded;
    return *this;
}

JsonObject& JsonObject::str(const char* key, const std::wstring& value) {
    return raw(key, jsonString(value));
}

JsonObject& JsonObject::num(const char* key, long long value) {
    return raw(key, std::to_string(value));
}

JsonObject& JsonObject::flag(const char* key, bool value) {
    return raw(key, value ? "true" : "false");
}

JsonObject& JsonObject::rect(const char* key, const RECT& r) {
    JsonObject o;
    o.num("left", r.left).num("top", r.top).num("right", r.right).num("bottom", r.bottom);
    return raw(key, o.encoded());
}

JsonObject& JsonObject::hwnd(const char* key, HWND value) {
    return num(key, static_cast<long long>(reinterpret_cast<UINT_PTR>(value)));
}

std::string JsonObject::encoded() const {
    return "{" + body_ + "}";
}

void JsonObject::print() const {
    // WriteFile rather than stdio: no CRLF translation and nothing left in a
    // buffer if the process is killed right after.
    std::string line = encoded() + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()),
              &written, nullptr);
}
