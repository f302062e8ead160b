#include "tools/devicesim/SimOptions.h"

#include <charconv>
#include <map>
#include <string_view>

const char kSimUsage[] =
    "usage: devicesim [options]\n"
    "  --bind ADDR          HTTP and search address (127.0.0.1; 0.0.0.0 to hear broadcasts)\n"
    "  --http-port N        HTTP port (0: any free port)\n"
    "  --search-port N      UDP port of the search request (7777; 0: any free port)\n"
    "  --answer-port N      UDP port the answers go to (3332)\n"
    "  --mac TEXT           MAC address (02:ab:cd:0a:0b:0c); the text form sends it as given\n"
    "  --ip TEXT            announced address (the bind address)\n"
    "  --port N             announced HTTP port (the real one)\n"
    "  --user TEXT --password TEXT   HTTP Basic credentials (none asked for when both empty)\n"
    "  --name TEXT          device name\n"
    "  --keyword TEXT       keyword of the fixed-layout reply (KX_SEARCH)\n"
    "  --option N           option word of the fixed-layout reply (0)\n"
    "  --form fixed|text|both   reply form (fixed)\n"
    "  --page-mac TEXT      MAC address the pages report (the announced one)\n"
    "misbehaviours:\n"
    "  --no-answer          never answer the search\n"
    "  --slow-accept        never accept an HTTP connection\n"
    "  --slow-body SECONDS  pages trickle one line a second for that long\n"
    "  --crlf               page lines end with CR LF\n"
    "  --pad BYTES          pages padded with filler lines to BYTES\n"
    "  --wrong-mac          pages report a MAC other than the announced one\n"
    "  --wrong-echo         after the answers, a datagram whose command echo is 2\n"
    "  --no-mac             text answers carry an empty MAC\n"
    "  --flood N            N answers per request, each with its own MAC\n"
    "  --interval MS        pause between answers\n";

namespace {

bool ToInt(std::string_view text, int& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<SimOptions> ParseSimOptions(int argc, char** argv, std::string& error) {
    SimOptions options;
    int pad = 0;
    const std::map<std::string_view, std::string*> texts = {
        {"--bind", &options.bind},
        {"--mac", &options.mac},
        {"--ip", &options.ip},
        {"--user", &options.user},
        {"--password", &options.password},
        {"--name", &options.name},
        {"--keyword", &options.keyword},
        {"--page-mac", &options.pageMac},
    };
    const std::map<std::string_view, int*> numbers = {
        {"--http-port", &options.httpPort},
        {"--search-port", &options.searchPort},
        {"--answer-port", &options.answerPort},
        {"--port", &options.port},
        {"--option", &options.option},
        {"--slow-body", &options.slowBodySeconds},
        {"--pad", &pad},
        {"--flood", &options.flood},
        {"--interval", &options.intervalMs},
    };
    const std::map<std::string_view, bool*> flags = {
        {"--no-answer", &options.noAnswer},
        {"--slow-accept", &options.slowAccept},
        {"--crlf", &options.crlf},
        {"--wrong-mac", &options.wrongMac},
        {"--wrong-echo", &options.wrongEcho},
        {"--no-mac", &options.noMac},
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (const auto flag = flags.find(name); flag != flags.end()) {
            *flag->second = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = "unknown option or missing value: " + std::string(name);
            return std::nullopt;
        }
        const char* value = argv[++i];
        if (const auto text = texts.find(name); text != texts.end()) {
            *text->second = value;
        } else if (const auto number = numbers.find(name); number != numbers.end()) {
            if (!ToInt(value, *number->second) || *number->second < -1) {
                error = "not a number for " + std::string(name) + ": " + value;
                return std::nullopt;
            }
        } else if (name == "--form") {
            const std::string_view form = value;
            if (form == "fixed") {
                options.form = ReplyForm::kFixed;
            } else if (form == "text") {
                options.form = ReplyForm::kText;
            } else if (form == "both") {
                options.form = ReplyForm::kBoth;
            } else {
                error = "--form takes fixed, text or both";
                return std::nullopt;
            }
        } else {
            error = "unknown option: " + std::string(name);
            return std::nullopt;
        }
    }
    options.padTo = static_cast<std::size_t>(pad < 0 ? 0 : pad);
    if (options.ip.empty()) {
        options.ip = options.bind;
    }
    if (options.pageMac.empty()) {
        options.pageMac = options.mac;
    }
    if (options.wrongMac) {
        // Same length and form, last digit changed: only a real comparison tells them apart.
        char& last = options.pageMac.back();
        last = last == '0' ? '1' : '0';
    }
    return options;
}
