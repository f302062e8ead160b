#include "connect/HttpGet.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace {

constexpr long kConnectTimeoutSeconds = 1;
constexpr long kTotalTimeoutSeconds = 3;
// "user:password" never needs more with the record's 31-character fields.
constexpr std::size_t kCredentialsMax = 127;

struct CurlEasyCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyCleanup>;

bool IsEmpty(const char* text) {
    return text == nullptr || *text == '\0';
}

}  // namespace

std::size_t HttpWriteCallback(char* data, std::size_t size, std::size_t count, void* reply) {
    const std::size_t received = size * count;
    if (received == 0 || data == nullptr) {
        return 0;
    }
    auto& target = *static_cast<HttpReply*>(reply);
    const std::size_t room = kHttpReplySize - 1 - target.length;
    const std::size_t taken = std::min(received, room);
    std::memcpy(target.buffer + target.length, data, taken);
    target.length += static_cast<std::uint32_t>(taken);
    target.buffer[target.length] = '\0';
    return taken;
}

std::unique_ptr<char[]> HttpGet(const char* url, const char* user, const char* password) {
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kHttpReplySize]);
    if (!buffer) {
        return nullptr;
    }
    buffer[0] = '\0';

    // The first easy handle also initialises libcurl itself.
    const CurlEasy curl(curl_easy_init());
    if (!curl) {
        return buffer;
    }
    curl_easy_setopt(curl.get(), CURLOPT_URL, url);
    std::string credentials;
    if (!IsEmpty(user) && !IsEmpty(password)) {
        credentials = std::string(user) + ":" + password;
        credentials.resize(std::min(credentials.size(), kCredentialsMax));
        curl_easy_setopt(curl.get(), CURLOPT_USERPWD, credentials.c_str());
    }
    HttpReply reply{0, buffer.get()};
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &HttpWriteCallback);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &reply);
    curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, kTotalTimeoutSeconds);
    // Straight to the device, whatever http_proxy, all_proxy and the like say: a proxy would
    // be handed the device's credentials and could not reach a LAN address anyway.
    curl_easy_setopt(curl.get(), CURLOPT_PROXY, "");
    curl_easy_setopt(curl.get(), CURLOPT_NOPROXY, "*");
    // Neither the result nor the HTTP status matters: the reply is what arrived.
    curl_easy_perform(curl.get());
    return buffer;
}
