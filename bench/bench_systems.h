#pragma once
// Testing a system over a year of stored runners, every Proof figure included, against the time
// the Systems page may take to refresh.
#include <filesystem>

namespace trotix::bench {

// 365 days × 40 races of stored runners: the default system and a filtered one evaluated, whole
// and split in two; prints the medians of `rounds` and whether each stays under 250 ms, and the
// time to read the rows from an archive once. False when a target is missed.
bool SystemsScenario(const std::filesystem::path& dir, int rounds);

}  // namespace trotix::bench
