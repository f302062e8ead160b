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
// How often a cancellable request looks at its cancel.
constexpr int kCancelPollMs = 50;

struct CurlEasyCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyCleanup>;

struct CurlMultiCleanup {
    void operator()(CURLM* handle) const { curl_multi_cleanup(handle); }
};
using CurlMulti = std::unique_ptr<CURLM, CurlMultiCleanup>;

bool IsEmpty(const char* text) {
    return text == nullptr || *text == '\0';
}

std::unique_ptr<char[]> NewReplyBuffer() {
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kHttpReplySize]);
    if (buffer) {
        buffer[0] = '\0';
    }
    return buffer;
}

// Every option of a device request. libcurl copies the texts; `reply` must outlive the
// transfer.
void SetUpDeviceRequest(CURL* curl, const char* url, const char* user, const char* password,
                        HttpReply& reply) {
    curl_easy_setopt(curl, CURLOPT_URL, url);
    if (!IsEmpty(user) && !IsEmpty(password)) {
        std::string credentials = std::string(user) + ":" + password;
        credentials.resize(std::min(credentials.size(), kCredentialsMax));
        curl_easy_setopt(curl, CURLOPT_USERPWD, credentials.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &HttpWriteCallback);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, kTotalTimeoutSeconds);
    // Straight to the device, whatever http_proxy, all_proxy and the like say: a proxy would
    // be handed the device's credentials and could not reach a LAN address anyway.
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
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
    std::unique_ptr<char[]> buffer = NewReplyBuffer();
    if (!buffer) {
        return nullptr;
    }
    // The first easy handle also initialises libcurl itself.
    const CurlEasy curl(curl_easy_init());
    if (!curl) {
        return buffer;
    }
    HttpReply reply{0, buffer.get()};
    SetUpDeviceRequest(curl.get(), url, user, password, reply);
    // Neither the result nor the HTTP status matters: the reply is what arrived.
    curl_easy_perform(curl.get());
    return buffer;
}

HttpAnswer HttpGetCancellable(const char* url, const char* user, const char* password,
                              const std::function<bool()>& cancelled) {
    HttpAnswer answer{0, NewReplyBuffer()};
    if (!answer.reply) {
        return answer;
    }
    const CurlEasy curl(curl_easy_init());
    const CurlMulti multi(curl_multi_init());
    if (!curl || !multi) {
        return answer;
    }
    HttpReply reply{0, answer.reply.get()};
    SetUpDeviceRequest(curl.get(), url, user, password, reply);
    // The multi interface only so that the wait can be cut short: one transfer, polled.
    curl_multi_add_handle(multi.get(), curl.get());
    int running = 1;
    while (running > 0 && !cancelled()) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            break;
        }
        if (running > 0) {
            curl_multi_poll(multi.get(), nullptr, 0, kCancelPollMs, nullptr);
        }
    }
    if (running == 0) {
        curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &answer.status);
    } else {
        answer.reply[0] = '\0';
    }
    curl_multi_remove_handle(multi.get(), curl.get());
    return answer;
}
