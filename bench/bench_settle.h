#pragma once
// "Settle" against a hostile race card: the scenario `settle` of trotix-bench.
#include <filesystem>

namespace trotix::bench {

// Signs in to the demo server whose day holds, in its first race, runs of unclosed runner records
// from 70 KB to 5.6 MB, makes Best Rank's picks and times "Settle" against each card. Returns
// false when a target is missed (5.6 MB settled in under a second, every pick settled).
bool SettleHostileCard(const std::filesystem::path& dir, int rounds);

}  // namespace trotix::bench
