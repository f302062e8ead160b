#include "connect/HttpGet.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

#include "discovery/UdpSocket.h"

namespace {

TEST(HttpWriteCallbackTest, AppendsAndKeepsTheTextTerminated) {
    char buffer[kHttpReplySize];
    std::memset(buffer, '#', sizeof buffer);
    HttpReply reply{0, buffer};
    char first[] = "MAC-Address=";
    char second[] = "02:ab\n";
    EXPECT_EQ(HttpWriteCallback(first, 1, 12, &reply), 12u);
    EXPECT_EQ(HttpWriteCallback(second, 2, 3, &reply), 6u);
    EXPECT_EQ(reply.length, 18u);
    EXPECT_STREQ(buffer, "MAC-Address=02:ab\n");
    EXPECT_EQ(HttpWriteCallback(first, 0, 12, &reply), 0u);
    EXPECT_EQ(HttpWriteCallback(nullptr, 1, 12, &reply), 0u);
    EXPECT_EQ(reply.length, 18u);
}

// A reply longer than the buffer keeps its first 8191 bytes; the short count ends the
// transfer, and nothing is written past the buffer.
TEST(HttpWriteCallbackTest, KeepsTheFirst8191BytesAndEndsTheTransfer) {
    struct Guarded {
        char buffer[kHttpReplySize];
        char guard[64];
    } area;
    std::memset(&area, '#', sizeof area);
    HttpReply reply{0, area.buffer};
    std::string chunk(5000, 'a');
    EXPECT_EQ(HttpWriteCallback(chunk.data(), 1, chunk.size(), &reply), 5000u);
    chunk.assign(5000, 'b');
    EXPECT_EQ(HttpWriteCallback(chunk.data(), 1, chunk.size(), &reply), 3191u);
    EXPECT_EQ(HttpWriteCallback(chunk.data(), 1, chunk.size(), &reply), 0u);
    EXPECT_EQ(reply.length, 8191u);
    EXPECT_EQ(area.buffer[8191], '\0');
    EXPECT_EQ(area.buffer[8190], 'b');
    EXPECT_EQ(std::string(area.guard, sizeof area.guard), std::string(64, '#'));
}

TEST(HttpGetTest, ARefusedConnectionGivesTheEmptyText) {
    // A loopback port that nobody listens on (it was just free for UDP; TCP is as likely).
    const SocketLibrary sockets;
    std::uint16_t port = 0;
    {
        UdpSocket probe;
        ASSERT_TRUE(probe.Bind(kLoopbackAddress, 0));
        port = probe.LocalPort();
    }
    const auto start = std::chrono::steady_clock::now();
    const std::unique_ptr<char[]> reply = HttpGet(
        ("http://127.0.0.1:" + std::to_string(port) + "/Login.cgi").c_str(), "admin", "secret");
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_NE(reply, nullptr);
    EXPECT_STREQ(reply.get(), "");
    EXPECT_LT(seconds, 2.5);
}

}  // namespace
