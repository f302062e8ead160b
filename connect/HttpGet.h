// Fetching one device page over plain HTTP, through libcurl's easy interface.
#pragma once

#include <cstddef>
#include <cstdint>
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
