#include "addressbook/ProfileWriter.h"

#include "addressbook/ProfileDocument.h"

bool NeedsProtectingQuotes(std::string_view value, const AnsiCodePage& codePage) {
    return !value.empty() && (TrimProfileBlanks(value, codePage).size() != value.size() ||
                              StripEnclosingQuotes(value, codePage).size() != value.size());
}

namespace {

// A line break (or a NUL, which readers take for the end of the text) inside a name or value
// would start a line of its own, a section or key of anyone's choosing: nothing from the
// first such byte on is written, whoever hands the text in.
std::string_view OneLine(std::string_view text) {
    return text.substr(0, text.find_first_of(std::string_view("\r\n\0", 3)));
}

}  // namespace

void AppendProfileSection(std::string& out, std::string_view name) {
    out += '[';
    out += OneLine(name);
    out += "]\r\n";
}

void AppendProfileKey(std::string& out, std::string_view key, std::string_view value,
                      const AnsiCodePage& codePage) {
    key = OneLine(key);
    value = OneLine(value);
    out += key;
    out += '=';
    if (NeedsProtectingQuotes(value, codePage)) {
        out += '"';
        out += value;
        out += '"';
    } else {
        out += value;
    }
    out += "\r\n";
}
