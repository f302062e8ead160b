// Fetching one device page over plain HTTP, through libcurl's easy interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

// Every reply lands in a buffer of this size: at most 8191 bytes of the page and a zero.
constexpr std::size_t kHttpReplySize = 8192;

// What the write callback fills: the number of bytes received so far and the reply buffer
// (kHttpReplySize bytes, kept zero-terminated).
struct HttpReply {
    std::uint32_t length = 0;
    char* buffer = nullptr;
};

// libcurl's write callback (CURLOPT_WRITEFUNCTION); `reply` is the HttpReply given as
// CURLOPT_WRITEDATA. Appends what still fits and keeps the text terminated. Returns the number
// of bytes taken: a reply that does not fit gives a short count, on which libcurl ends the
// transfer, so the first 8191 bytes are kept and nothing is written past the buffer.
std::size_t HttpWriteCallback(char* data, std::size_t size, std::size_t count, void* reply);

// GET url with HTTP Basic credentials when both user and password are non-empty (no
// credentials otherwise), at most 1 s to connect and 3 s in all, no redirects, never through a
// proxy (the environment's proxy settings are not read). Returns the
// reply text, whatever arrived: failures and the HTTP status are not reported, so it may be
// empty or an error page. Null only when the buffer cannot be allocated. Blocks the caller.
std::unique_ptr<char[]> HttpGet(const char* url, const char* user, const char* password);

// What HttpGetCancellable got: the HTTP status, 0 when no answer came (no connection, a
// time-out before the status line, a cancel), and the reply text as HttpGet gives it.
struct HttpAnswer {
    long status = 0;
    std::unique_ptr<char[]> reply;
};

// The same GET as HttpGet (the same credentials, limits and reply buffer), for work beside
// the window: it also tells the HTTP status, and ends early once cancelled() is true, which
// it asks about every 50 ms. Runs on any thread; blocks the caller.
HttpAnswer HttpGetCancellable(const char* url, const char* user, const char* password,
                              const std::function<bool()>& cancelled);
