// Whether a file could be taken for reading and writing right now.
#pragma once

#include <string>

// True when the path (UTF-8, base/WidePath.h) names an existing file that opens for reading
// and writing with both shared: false for a missing file, a folder, a read-only file or one
// that another program holds. The file is closed again at once and left as it was.
bool CanOpenForReadingAndWriting(const std::string& path);
