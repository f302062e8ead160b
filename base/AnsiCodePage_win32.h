// The platform's own view of a code page, whatever the system's is: for tests that need a
// real double-byte code page under any locale.
#pragma once

#include "base/AnsiCodePage.h"

// The code page's lead bytes as the platform lists them, its second bytes, and the upper case
// of its double-byte characters as the platform converts them (worked out once per character
// and remembered, by any thread).
AnsiCodePage PlatformCodePage(unsigned codePageId);
