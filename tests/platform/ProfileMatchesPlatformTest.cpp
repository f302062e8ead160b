// Our profile reader and writer next to the platform's GetPrivateProfile*A and
// WritePrivateProfileStringA, on the same files.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/AddressBook.h"
#include "addressbook/IniFile.h"
#include "base/FixedText.h"
#include "base/WholeFile.h"
#include "support/Big5.h"
#include "support/ScratchFolder.h"
#include "support/TestDevice.h"

namespace {

std::vector<std::string> PlatformSectionNames(const std::string& path) {
    std::vector<char> buffer(4 << 20);
    const DWORD length = GetPrivateProfileSectionNamesA(
        buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
    std::vector<std::string> names;
    for (DWORD at = 0; at < length && buffer[at] != '\0';) {
        names.emplace_back(&buffer[at]);
        at += static_cast<DWORD>(names.back().size()) + 1;
    }
    return names;
}

std::string PlatformString(const std::string& path, const std::string& section,
                           const std::string& key) {
    std::vector<char> buffer(8192);
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<default>", buffer.data(),
                             static_cast<DWORD>(buffer.size()), path.c_str());
    return buffer.data();
}

// Every section name and every key a reader could be asked for, ours next to the platform's.
void ExpectSameReading(const std::string& label, const std::string& bytes,
                       const std::vector<std::string>& keys) {
    ScratchFolder folder;
    folder.Write("profile.ini", bytes);
    const std::string path = folder.File("profile.ini");

    CIniFile ours(path);
    std::vector<std::string> ourNames;
    ours.GetSectionNames(ourNames);
    const std::vector<std::string> platformNames = PlatformSectionNames(path);
    ASSERT_EQ(ourNames, platformNames) << label;

    std::vector<std::string> questions = platformNames;
    questions.insert(questions.end(), {"", " ", "missing"});
    for (const std::string& section : questions) {
        for (const std::string& key : keys) {
            std::string value;
            ours.GetString(section, key, "<default>", value);
            EXPECT_EQ(value, PlatformString(path, section, key))
                << label << ": [" << section << "] " << key;
        }
    }
}

const std::vector<std::string> kStoredKeys = {"SERVERIP", "SERVERPORT", "ACCOUNT", "PASSWORD",
                                              "UUID",     "UUIDIP",     "UUIDMAC", "PRIORITY"};

TEST(ProfileMatchesPlatformTest, AwkwardFilesReadTheSame) {
    struct Sample {
        const char* label;
        std::string bytes;
    };
    const std::vector<Sample> samples = {
        {"empty", ""},
        {"blanks only", " \r\n\t\r\n\x1a"},
        {"crlf with comments",
         "; address book\r\n[Office]\r\nSERVERIP=10.0.0.5\r\n;PASSWORD=old\r\nPASSWORD=x\r\n"},
        {"lf only", "[A]\nSERVERIP=1\n[B]\nSERVERIP=2\n"},
        {"cr only", "[A]\rSERVERIP=1\r[B]\rSERVERIP=2\r"},
        {"mixed ends", "[A]\r\r\nSERVERIP=1\n\r[B]\n\nSERVERIP=2"},
        {"duplicates",
         "[Cam]\nSERVERIP=first\nSERVERIP=second\n[CAM]\nSERVERIP=third\nUUID=only here\n"
         "[Cam]\nACCOUNT=later\n"},
        {"lines without equals", "[A]\nSERVERIP\nACCOUNT = \nPASSWORD==x=\nUUID\t=\t y \n"},
        {"blanks in brackets", "[ Padded ]\nSERVERIP=1\n[\tTab]\nSERVERIP=2\n[In Side]\nUUID=3\n"},
        {"keys above sections and empty names", "SERVERIP=0\n[]\nSERVERIP=1\n[A]\nUUID=2\n"},
        {"unclosed and nested brackets", "[A\nSERVERIP=1\n[B]x]\nSERVERIP=2\n[[C]]\nUUID=3\n"},
        {"quotes",
         "[Q]\nSERVERIP=\"a\"\nSERVERPORT='b'\nACCOUNT=\"\nPASSWORD=\"\"\nUUID=\"c'\n"
         "UUIDIP=\" d \"\nUUIDMAC=''e''\n"},
        {"control blanks", "[C]\nSERVERIP=\x1a x\x1a\nACCOUNT=\t\vv\f\n"},
        {"long lines", "[" + std::string(3000, 'n') + "]\nSERVERIP=" + std::string(10000, 'v') +
                           "\nUUID=" + std::string(8191, 'u') + "\n"},
        {"utf-8 byte-order mark", "\xEF\xBB\xBF[Office]\r\nSERVERIP=10.0.0.5\r\n"},
        {"high bytes", "[Caf\xE9]\nSERVERIP=\xE9t\xE9\n[\xC9t\xE9 2]\nACCOUNT=\xFF\xFE\n"},
    };
    std::vector<std::string> keys = kStoredKeys;
    keys.insert(keys.end(), {"serverip", " UUID ", "=", "[A]"});
    for (const Sample& sample : samples) {
        ExpectSameReading(sample.label, sample.bytes, keys);
    }
}

// Run in both code pages: under 950 (Big5) the bytes above 0x80 lead double-byte characters,
// under 1252 they are letters of their own, and both readers must agree either way.
TEST(ProfileMatchesPlatformTest, Big5FilesReadTheSame) {
    if (const char* codePage = std::getenv("TAVRIN_TEST_CODE_PAGE")) {
        ASSERT_EQ(GetACP(), std::stoul(codePage)) << "the locale did not give the code page";
    }
    for (int byte = 0; byte < 256; ++byte) {
        EXPECT_EQ(SystemCodePage().IsLeadByte(static_cast<char>(byte)),
                  IsDBCSLeadByte(static_cast<BYTE>(byte)) != 0)
            << byte;
    }
    struct Sample {
        const char* label;
        std::string bytes;
    };
    const std::string big = kBigDoor, entrance = kEntrance;
    const std::vector<Sample> samples = {
        {"second bytes that look like letters",
         "[" + big + "]\r\nSERVERIP=1\r\n[" + entrance + "]\r\nSERVERIP=2\r\n[" + big +
             " Cam]\r\nUUID=3\r\n[" + entrance + " CAM]\r\nUUID=4\r\n[" + big +
             " cam]\r\nUUID=5\r\n"},
        {"lead byte before ]",
         "[A]\r\nSERVERIP=1\r\n[Gate\xA4]\r\nUUID=2\r\n[\xA4]]\r\nUUID=3\r\n"},
        {"lead byte before =", "[A]\r\nSERVERIP\xA4=1\r\nUUID=\xA4]=2\r\nACCOUNT=\"\xA4]\"\r\n"},
        {"lead byte before CR", "[A]\rNOTE\xA4\r[B]\rSERVERIP=1\r[C]\rUUID=2\r"},
        {"lead byte before LF", "[A]\nNOTE\xA4\n[B]\nSERVERIP=1\n[C]\nUUID=2\n"},
    };
    const std::vector<std::string> keys = {"SERVERIP", "UUID", "ACCOUNT", "uuid"};
    for (const Sample& sample : samples) {
        ExpectSameReading(sample.label, sample.bytes, keys);
    }
}

std::string Utf16File(std::u16string_view text, bool littleEndian) {
    std::string bytes;
    for (char16_t c : text) {
        const char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
        bytes += littleEndian ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

TEST(ProfileMatchesPlatformTest, Utf16FilesReadTheSame) {
    // Letters of the code page the test runs in, and keys above the first section.
    const std::u16string letters =
        GetACP() == 950 ? u"\u5927\u9580 \u5165\u9580 \u4E00" : u"Caf\u00E9 \u00C9t\u00E9";
    const std::u16string text = u"\uFEFFUUID=above\r\n[" + letters +
                                u"]\r\nSERVERIP=10.0.0.1\r\n[" + letters + u" 2]\n\r\n[A]\rUUID=" +
                                letters + u"\r\n";
    ExpectSameReading("utf-16le", Utf16File(text, true), kStoredKeys);
    ExpectSameReading("utf-16be", Utf16File(text, false), kStoredKeys);

    // A name the code page cannot spell reads as "??" to both. The platform then finds no
    // section by that name; we find the first so named, and keep its values.
    ScratchFolder folder;
    folder.Write("lost.ini", Utf16File(u"\uFEFF[\U0001F600]\r\nSERVERIP=10.0.0.2\r\n", true));
    const std::string path = folder.File("lost.ini");
    CIniFile ours(path);
    std::vector<std::string> names;
    ours.GetSectionNames(names);
    ASSERT_EQ(names, PlatformSectionNames(path));
    ASSERT_EQ(names, std::vector<std::string>{"??"});
    std::string value;
    ours.GetString("??", "SERVERIP", "<default>", value);
    EXPECT_EQ(value, "10.0.0.2");
    EXPECT_EQ(PlatformString(path, "??", "SERVERIP"), "<default>");
}

// A table can hold one name twice, or in two spellings a reader takes for one section, when
// a hand-edited book or an imported file had them. (A name of blanks only never gets into a
// table: neither the reader nor the device form lets one in.)
TEST(ProfileMatchesPlatformTest, SaveWritesThePlatformWritersBytes) {
    DeviceTable table;
    int serial = 0;
    // Under code page 950 the last three are two names, under 1252 one name in two spellings.
    for (const char* name : {"Office", "Lobby", "Gate 3", "LOBBY", "Office", " Gate 3 ", kBigDoor,
                             kEntrance, kBigDoor}) {
        const std::string ip = "10.0.0." + std::to_string(++serial);
        table.Append(MakeDevice({.name = name,
                                 .serverIp = ip,
                                 .serverPort = "80",
                                 .account = "admin",
                                 .password = "secret",
                                 .uuid = name[0] == 'L' ? "ABCDEF0123" : "",
                                 .priority = "Frame"}));
    }
    ScratchFolder folder;
    // The platform's way: empty the file, then one call per key.
    const std::string platformPath = folder.File("platform.ini");
    CloseHandle(CreateFileA(platformPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS, 0,
                            nullptr));
    for (std::size_t i = 0; i < table.Count(); ++i) {
        const DeviceRecord& record = table.At(i);
        VisitStoredFields(record, [&](const StoredKey& stored, const auto& field) {
            WritePrivateProfileStringA(record.name, stored.key, field, platformPath.c_str());
        });
    }
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, platformPath.c_str());  // flush

    const std::string ourPath = folder.File("ours.ini");
    ASSERT_TRUE(WriteAddressBook(ourPath, table));
    EXPECT_EQ(ReadWholeFile(ourPath), ReadWholeFile(platformPath));
}

TEST(ProfileMatchesPlatformTest, PlatformReadsProtectedValuesBackExactly) {
    DeviceTable table;
    table.Append(MakeDevice({.name = "Q",
                             .serverIp = " 10.0.0.5",
                             .account = "'admin'",
                             .password = " pass ",
                             .uuid = "\"x\""}));
    ScratchFolder folder;
    const std::string path = folder.File("quoted.ini");
    ASSERT_TRUE(WriteAddressBook(path, table));
    EXPECT_EQ(PlatformString(path, "Q", "SERVERIP"), " 10.0.0.5");
    EXPECT_EQ(PlatformString(path, "Q", "ACCOUNT"), "'admin'");
    EXPECT_EQ(PlatformString(path, "Q", "PASSWORD"), " pass ");
    EXPECT_EQ(PlatformString(path, "Q", "UUID"), "\"x\"");
}

}  // namespace
