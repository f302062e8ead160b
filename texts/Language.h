// The interface language, chosen once at start-up from the system's language. Its number is
// what the viewer's LANGUAGEID field carries.
#pragma once

enum class Language { kChinese = 0, kEnglish = 1 };

constexpr int LanguageNumber(Language language) {
    return static_cast<int>(language);
}
