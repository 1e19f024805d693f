#pragma once
// Faults the server can be told to show per path, and the texts of the program's options.
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace trotix::vendorsim {

enum class FaultMode {
  kStatus500,  // status 500
  kDrop,       // the connection is closed without an answer
  kStall,      // the request is taken and never answered until the server stops
  kTruncate,   // Content-Length announced, half the body sent, connection closed
  kGarbage,    // status 200 with random bytes
  kOversize,   // status 200 with a body above 32 MiB, streamed
};

struct Fault {
  std::string pattern;  // path glob: "*" and "?" match any characters, "/" included
  FaultMode mode = FaultMode::kStatus500;
};

// "500", "drop", "stall", "truncate", "garbage", "oversize".
std::optional<FaultMode> ParseFaultMode(std::string_view text);
std::string_view FaultModeName(FaultMode mode);
// "PATTERN=MODE"; the pattern may itself hold "=", the mode never does.
std::optional<Fault> ParseFault(std::string_view text);
bool GlobMatch(const std::string& pattern, const std::string& text);

// "N" or "MIN-MAX" milliseconds.
std::optional<std::pair<int, int>> ParseLatency(std::string_view text);
// "LOGIN:PASSWORD"; the password may hold ":".
std::optional<std::pair<std::string, std::string>> ParseAccount(std::string_view text);

}  // namespace trotix::vendorsim
