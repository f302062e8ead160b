#include "natlib/Directory.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using std::chrono::milliseconds;

TEST(NatDirectoryTest, ReadsDeviceEntriesOfEveryOutcome) {
    const NatDirectory directory = ParseNatDirectory(
        "# staged outcomes\n"
        "device cam-p2p 192.168.1.10:80 p2p\n"
        "device cam-relay 10.0.0.255:65535 relay delay 250\r\n"
        "device cam-15 127.0.0.1:1 error 15\n"
        "\tdevice   cam-neg\t127.0.0.1:8080  error -7   delay 0  # spaced out\n");
    ASSERT_EQ(directory.devices.size(), 4u);
    EXPECT_FALSE(directory.initError);

    const NatDevice* p2p = directory.Find("cam-p2p");
    ASSERT_NE(p2p, nullptr);
    EXPECT_EQ(p2p->outcome, NatOutcome::kPeerToPeer);
    EXPECT_EQ(p2p->endpoint, "192.168.1.10:80");
    EXPECT_EQ(p2p->address, 0xC0A8010Au);
    EXPECT_EQ(p2p->port, 80);
    EXPECT_EQ(p2p->delay, milliseconds(0));

    const NatDevice* relay = directory.Find("cam-relay");
    ASSERT_NE(relay, nullptr);
    EXPECT_EQ(relay->outcome, NatOutcome::kRelay);
    EXPECT_EQ(relay->address, 0x0A0000FFu);
    EXPECT_EQ(relay->port, 65535);
    EXPECT_EQ(relay->delay, milliseconds(250));

    const NatDevice* captcha = directory.Find("cam-15");
    ASSERT_NE(captcha, nullptr);
    EXPECT_EQ(captcha->outcome, NatOutcome::kError);
    EXPECT_EQ(captcha->errorCode, 15);

    const NatDevice* negative = directory.Find("cam-neg");
    ASSERT_NE(negative, nullptr);
    EXPECT_EQ(negative->errorCode, -7);
    EXPECT_EQ(negative->endpoint, "127.0.0.1:8080");
}

TEST(NatDirectoryTest, FindsUuidsExactlyAndTheLastLineForOneWins) {
    const NatDirectory directory = ParseNatDirectory(
        "device AbC 127.0.0.1:80 p2p\n"
        "device other 127.0.0.1:81 relay\n"
        "device AbC 127.0.0.1:82 error 17\n");
    ASSERT_EQ(directory.devices.size(), 2u);
    ASSERT_NE(directory.Find("AbC"), nullptr);
    EXPECT_EQ(directory.Find("AbC")->errorCode, 17);
    EXPECT_EQ(directory.Find("AbC")->port, 82);
    EXPECT_EQ(directory.Find("abc"), nullptr);
    EXPECT_EQ(directory.Find("AbC "), nullptr);
    EXPECT_EQ(directory.Find(""), nullptr);
}

TEST(NatDirectoryTest, IgnoresMalformedDeviceLines) {
    const char* const lines[] = {
        "device",
        "device cam",
        "device cam 127.0.0.1:80",
        "device cam 127.0.0.1 p2p",
        "device cam 127.0.0.1: p2p",
        "device cam :80 p2p",
        "device cam 127.0.0.1:0 p2p",
        "device cam 127.0.0.1:65536 p2p",
        "device cam 127.0.0.1:080 p2p",
        "device cam 127.0.0.1:+80 p2p",
        "device cam 127.0.0.1:-80 p2p",
        "device cam localhost:80 p2p",  // no names: looking one up would leave the machine
        "device cam 127.0.0:80 p2p",
        "device cam 127.0.0.1.1:80 p2p",
        "device cam 127.0.0.256:80 p2p",
        "device cam 127.0.0.01:80 p2p",  // octal to some readers
        "device cam 127..0.1:80 p2p",
        "device cam 127.0.0.1:80 P2P",
        "device cam 127.0.0.1:80 direct",
        "device cam 127.0.0.1:80 error",
        "device cam 127.0.0.1:80 error x",
        "device cam 127.0.0.1:80 error 99999999999",
        "device cam 127.0.0.1:80 p2p 5",
        "device cam 127.0.0.1:80 p2p delay",
        "device cam 127.0.0.1:80 p2p delay -1",
        "device cam 127.0.0.1:80 p2p delay 1.5",
        "device cam 127.0.0.1:80 p2p delay 10 delay 10",
        "device cam 127.0.0.1:80 relay wait 10",
        "devices cam 127.0.0.1:80 p2p",
        "# device cam 127.0.0.1:80 p2p",
    };
    for (const char* line : lines) {
        const NatDirectory directory = ParseNatDirectory(line + std::string("\n"));
        EXPECT_TRUE(directory.devices.empty()) << line;
    }
}

TEST(NatDirectoryTest, InitErrorTakesOneNumberAndTheLastLineWins) {
    EXPECT_EQ(ParseNatDirectory("init-error 7").initError, 7);
    EXPECT_EQ(ParseNatDirectory("init-error 7\r\n").initError, 7);
    EXPECT_EQ(ParseNatDirectory("init-error -3 # why\n").initError, -3);
    EXPECT_EQ(ParseNatDirectory("init-error 7\ninit-error 9\n").initError, 9);
    EXPECT_FALSE(ParseNatDirectory("init-error\n").initError);
    EXPECT_FALSE(ParseNatDirectory("init-error 7 8\n").initError);
    EXPECT_FALSE(ParseNatDirectory("init-error seven\n").initError);
    EXPECT_FALSE(ParseNatDirectory("").initError);
    // An init error and devices live side by side.
    const NatDirectory both = ParseNatDirectory("device cam 127.0.0.1:80 p2p\ninit-error 4\n");
    EXPECT_EQ(both.initError, 4);
    EXPECT_NE(both.Find("cam"), nullptr);
}

TEST(NatDirectoryTest, MisbehavioursAreOffUnlessNamedExactly) {
    const NatDirectory plain = ParseNatDirectory("device cam 127.0.0.1:80 p2p\n");
    EXPECT_FALSE(plain.scribble);
    EXPECT_EQ(plain.linger.count(), 0);

    const NatDirectory hostile = ParseNatDirectory("scribble\r\nlinger 100\nlinger 2500 # last\n");
    EXPECT_TRUE(hostile.scribble);
    EXPECT_EQ(hostile.linger.count(), 2500);

    for (const char* line : {"scribble 1", "SCRIBBLE", "linger", "linger -5", "linger 05",
                             "linger 1 2", "linger soon"}) {
        const NatDirectory directory = ParseNatDirectory(line);
        EXPECT_FALSE(directory.scribble) << line;
        EXPECT_EQ(directory.linger.count(), 0) << line;
    }
}

}  // namespace
