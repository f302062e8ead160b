// The running program's folder, with its trailing backslash. Found once at start-up and handed
// to everything that works from it: the book's claim, the main window (the address book and the
// viewer's PATH) and the NAT library's loader.
#pragma once

#include <string>

std::wstring RunningProgramFolder();

// The running program's own file, as a shortcut to it names it.
std::wstring RunningProgramPath();
