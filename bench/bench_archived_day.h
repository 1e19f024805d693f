#pragma once
// Peak memory of trotix-cli over a day of large runner pages: a best-of run from real odds
// recorded into the archive, then the replay of one race of that day from the archive.
#include <cstddef>
#include <filesystem>
#include <string>

namespace trotix::bench {

struct ArchivedDayOptions {
  std::string cli;  // trotix-cli to measure
  int races = 40;
  std::size_t padBytes = std::size_t{1} << 20;  // each runner page's size
};

// Prints one line per run with its target; returns how many targets were missed.
int ArchivedDayMemory(const ArchivedDayOptions& o, const std::filesystem::path& dir);

}  // namespace trotix::bench
