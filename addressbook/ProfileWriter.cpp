#include "addressbook/ProfileWriter.h"

#include "addressbook/ProfileDocument.h"

bool NeedsProtectingQuotes(std::string_view value) {
    return !value.empty() && (IsProfileBlank(value.front()) || IsProfileBlank(value.back()) ||
                              StripEnclosingQuotes(value).size() != value.size());
}

void AppendProfileSection(std::string& out, std::string_view name) {
    out += '[';
    out += name;
    out += "]\r\n";
}

void AppendProfileKey(std::string& out, std::string_view key, std::string_view value) {
    out += key;
    out += '=';
    if (NeedsProtectingQuotes(value)) {
        out += '"';
        out += value;
        out += '"';
    } else {
        out += value;
    }
    out += "\r\n";
}
