// The driver's commands: each prints its results as JSON lines and returns the
// process exit code (0 done, 1 not found or timed out; usage errors throw).
#pragma once

#include "args.h"

int runCommand(const Args& args);
extern const char* const kUsage;
