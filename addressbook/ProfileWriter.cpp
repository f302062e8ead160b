#include "addressbook/ProfileWriter.h"

#include "addressbook/ProfileDocument.h"

bool NeedsProtectingQuotes(std::string_view value, const LeadBytes& lead) {
    return !value.empty() && (TrimProfileBlanks(value, lead).size() != value.size() ||
                              StripEnclosingQuotes(value, lead).size() != value.size());
}

void AppendProfileSection(std::string& out, std::string_view name) {
    out += '[';
    out += name;
    out += "]\r\n";
}

void AppendProfileKey(std::string& out, std::string_view key, std::string_view value,
                      const LeadBytes& lead) {
    out += key;
    out += '=';
    if (NeedsProtectingQuotes(value, lead)) {
        out += '"';
        out += value;
        out += '"';
    } else {
        out += value;
    }
    out += "\r\n";
}
