// Decisions the main window makes at start-up, kept free of the platform so they can be
// tested on their own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "texts/Language.h"

// Chinese for Taiwan, PRC, Hong Kong and Singapore; English for every other language,
// Macao included.
Language LanguageForSystemLanguage(std::uint16_t systemLanguage);

// Whole percentage of physical memory available, truncated toward zero; 100 when the total
// is unknown, so that a failed query never raises a false alarm.
int GetAvailableMemoryPercent(std::uint64_t availableBytes, std::uint64_t totalBytes);

// Start-up warns when 15 % or less of the memory is available.
constexpr bool IsMemoryLow(int availablePercent) {
    return availablePercent <= 15;
}

// The executable's folder with its trailing backslash: everything up to and including the
// last backslash (nothing when there is none).
std::string ProgramFolderOf(std::string_view executablePath);
