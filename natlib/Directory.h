// The directory file that sits beside our NAT-traversal library (KXC_IE_NATT.directory) and
// tells it how to behave, so tests and demos can stage every outcome without a cloud server.
//
//   # comment
//   init-error <code>      NATSocket_Init fails; NATSocket_GetLastError then gives <code>
//
// Unknown or malformed lines are ignored, so an old library reads a newer file.
#pragma once

#include <optional>
#include <string_view>

struct NatDirectory {
    std::optional<int> initError;
};

NatDirectory ParseNatDirectory(std::string_view text);

constexpr const char kNatDirectoryFileName[] = "KXC_IE_NATT.directory";
