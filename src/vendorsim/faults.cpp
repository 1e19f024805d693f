#include "vendorsim/faults.h"

#include <fnmatch.h>

#include <charconv>

namespace trotix::vendorsim {
namespace {
constexpr std::pair<FaultMode, std::string_view> kModes[] = {
    {FaultMode::kStatus500, "500"},   {FaultMode::kDrop, "drop"},
    {FaultMode::kStall, "stall"},     {FaultMode::kTruncate, "truncate"},
    {FaultMode::kGarbage, "garbage"}, {FaultMode::kOversize, "oversize"},
};

std::optional<int> Millis(std::string_view t) {
  int v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size() || v < 0) return std::nullopt;
  return v;
}
}  // namespace

std::optional<FaultMode> ParseFaultMode(std::string_view text) {
  for (const auto& [mode, name] : kModes)
    if (name == text) return mode;
  return std::nullopt;
}

std::string_view FaultModeName(FaultMode mode) {
  for (const auto& [m, name] : kModes)
    if (m == mode) return name;
  return "?";
}

std::optional<Fault> ParseFault(std::string_view text) {
  const auto eq = text.rfind('=');
  if (eq == std::string_view::npos || eq == 0) return std::nullopt;
  const auto mode = ParseFaultMode(text.substr(eq + 1));
  if (!mode) return std::nullopt;
  return Fault{std::string(text.substr(0, eq)), *mode};
}

bool GlobMatch(const std::string& pattern, const std::string& text) {
  return fnmatch(pattern.c_str(), text.c_str(), 0) == 0;
}

std::optional<std::pair<int, int>> ParseLatency(std::string_view text) {
  const auto dash = text.find('-');
  if (dash == std::string_view::npos) {
    const auto v = Millis(text);
    if (!v) return std::nullopt;
    return std::pair{*v, *v};
  }
  const auto lo = Millis(text.substr(0, dash));
  const auto hi = Millis(text.substr(dash + 1));
  if (!lo || !hi || *lo > *hi) return std::nullopt;
  return std::pair{*lo, *hi};
}

std::optional<std::pair<std::string, std::string>> ParseAccount(std::string_view text) {
  const auto colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0) return std::nullopt;
  return std::pair{std::string(text.substr(0, colon)), std::string(text.substr(colon + 1))};
}

}  // namespace trotix::vendorsim
