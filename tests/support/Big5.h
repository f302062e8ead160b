// Big5 (code page 950) as the core sees it, whatever the system's own code page is, and names
// that fold to one another if a second byte were taken for an ASCII letter.
#pragma once

#include "base/AnsiText.h"

inline const AnsiCodePage kBig5CodePage = {{{0x81, 0xFE}}, {{0x40, 0x7E}, {0xA1, 0xFE}}};

// "Big door" and "entrance": A4 6A and A4 4A differ only in what would be a letter's case.
constexpr const char kBigDoor[] = "\xA4\x6A\xAA\xF9";
constexpr const char kEntrance[] = "\xA4\x4A\xAA\xF9";
