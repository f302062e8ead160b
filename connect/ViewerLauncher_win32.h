// Starting the viewer program.
#pragma once

#include <string>

// Starts the command line as a new process with workingFolder as its working directory and
// the launcher's own start-up information and environment. The program name stands bare at
// the start of the line, so the platform's search finds it, beside the launcher first. Does
// not wait for the viewer; false when it could not be started.
bool LaunchViewer(const std::string& commandLine, const char* workingFolder);
