#pragma once
// The archive at a year's scale: a demo history of many days built into one archive, its size on
// disk, and trotix-cli's back-test of every day of it.
#include <filesystem>
#include <string>

namespace trotix::bench {

struct ArchiveScaleOptions {
  std::string cli;  // trotix-cli that back-tests
  int days = 365;   // days of the demo history
  int rounds = 3;   // back-tests of it, one after another: medians
};

// Prints one line per target; returns how many were missed.
int ArchiveScale(const ArchiveScaleOptions& o, const std::filesystem::path& dir);

}  // namespace trotix::bench
