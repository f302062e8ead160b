// The command line the viewer receives, read back into its fields. The launcher writes it:
//
//   Pellix.exe IP=...#PORT=...#ACCOUNT=...#PASSWORD=...#PATH=...#PRIORITY=...#DEVICEUUID=...#
//   DEVICEPORT=...#CONNECTTYPE=...#OEMNAME=...#LANGUAGEID=...#
//
// (one line). The program name runs to the first blank, or between quotes when it starts with
// one; blanks after it are skipped. Then come fields "KEY=value#". Values are neither quoted nor
// escaped, so they may hold blanks, '=' and even '#': a value ends at the first '#' that is
// followed by one of the eleven keys and '=', or by nothing but blanks up to the end of the
// line. A last value without its '#' runs to the end. A key given twice counts the first time;
// other keys are skipped.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::array<std::string_view, 11> kViewerKeys = {
    "IP",         "PORT",       "ACCOUNT",     "PASSWORD", "PATH",      "PRIORITY",
    "DEVICEUUID", "DEVICEPORT", "CONNECTTYPE", "OEMNAME",  "LANGUAGEID"};

// Positions in kViewerKeys of the fields the viewer treats specially.
inline constexpr std::size_t kViewerPasswordField = 3;

struct ReceivedCommandLine {
    std::string program;
    // By position in kViewerKeys; nothing when the line does not carry the field.
    std::array<std::optional<std::string>, kViewerKeys.size()> values;
};

ReceivedCommandLine ParseReceivedCommandLine(std::string_view line);

// The line with the value of every PASSWORD field, the first and any repeat, replaced by
// kMaskedPassword, and everything else byte for byte: what the viewer may write to a file.
// An empty value stays empty, so the log still tells a missing password from a wrong one.
std::string MaskPasswords(std::string_view line);

inline constexpr std::string_view kMaskedPassword = "********";
