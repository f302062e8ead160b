// Fixed-width, zero-terminated text fields: the one place where text is copied into them.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include "base/AnsiText.h"

// Copies at most N-1 bytes of text into the field and always terminates it; the rest of the
// field is zeroed so that records compare and copy as whole values.
template <std::size_t N>
void CopyField(char (&field)[N], std::string_view text) {
    static_assert(N > 0);
    const std::size_t length = text.size() < N - 1 ? text.size() : N - 1;
    if (length > 0) {  // an empty view may carry a null pointer, which memcpy must not get
        std::memcpy(field, text.data(), length);
    }
    std::memset(field + length, 0, N - length);
}

// The text of a field up to its terminating zero (or its whole width, should a field ever
// arrive without one).
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
    const void* end = std::memchr(field, '\0', N);
    return std::string_view(field, end ? static_cast<const char*>(end) - field : N);
}

// CopyField for text of the ANSI code page: cut between two characters, never inside one.
template <std::size_t N>
void CopyAnsiField(char (&field)[N], std::string_view text,
                   const AnsiCodePage& codePage = SystemCodePage()) {
    CopyField(field, CutAtCharacter(text, N - 1, codePage));
}
