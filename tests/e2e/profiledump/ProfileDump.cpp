// profiledump <file.ini>: prints a profile file as the platform's own reader sees it, one line
// per section: the section name and the value of each address-book key, each as hex so that
// any byte survives the trip to the test. A missing key prints as "-".
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex.empty() ? "\"\"" : hex;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: profiledump <file.ini>\n", stderr);
        return 2;
    }
    const char* path = argv[1];
    std::vector<char> names(16 << 20);
    const DWORD length =
        GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), path);
    const char* keys[] = {"SERVERIP", "SERVERPORT", "ACCOUNT", "PASSWORD",
                          "UUID",     "UUIDIP",     "UUIDMAC", "PRIORITY"};
    std::vector<char> value(8192);
    for (DWORD at = 0; at < length && names[at] != '\0';) {
        const std::string section(&names[at]);
        at += static_cast<DWORD>(section.size()) + 1;
        std::string line = Hex(section);
        for (const char* key : keys) {
            const char kMissing[] = "\x01missing";
            GetPrivateProfileStringA(section.c_str(), key, kMissing, value.data(),
                                     static_cast<DWORD>(value.size()), path);
            line += ' ';
            line += std::string(value.data()) == kMissing ? "-" : Hex(value.data());
        }
        std::printf("%s\n", line.c_str());
    }
    return 0;
}
