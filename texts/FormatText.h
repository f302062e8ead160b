// A text of the chosen language with its printf-style placeholders filled in, for the texts
// whose lines carry a number, a path or a reason.
#pragma once

#include <cwchar>
#include <iterator>
#include <string>

#include "texts/Texts.h"

template <typename... Args>
std::wstring FormatText(const UiText& text, Language language, Args... args) {
    wchar_t formatted[2048];
    std::swprintf(formatted, std::size(formatted), InLanguage(text, language), args...);
    return formatted;
}
