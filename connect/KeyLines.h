// Reading the plain-text replies of device pages: lines of the form KEY=value.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

// Values are kept in 32-byte fields: a longer one does not read as a key line.
constexpr std::size_t kKeyValueMax = 31;

// The reply's lines in order, split at LF only. Runs of LF count as one, so no line is
// empty; a CR before an LF stays part of its line. The reply is the text up to its first zero,
// as HttpGet's buffer holds it.
std::vector<std::string_view> ReplyLines(std::string_view reply);

// The value when the line reads as a line of `key`: it starts with exactly the key and "="
// (letter case counts, nothing before it) and 1 to 31 characters follow.
std::optional<std::string_view> KeyLineValue(std::string_view line, std::string_view key);

// The value of the reply's first line that reads as a line of `key`.
std::optional<std::string_view> FindKeyLine(std::string_view reply, std::string_view key);
