#pragma once
// `trotix-cli ledger …`: the record anyone can check. `export FILE` writes the chain, one event a
// line; `verify [FILE]` checks the archive's chain or an exported file without any archive;
// `digest DAY` prints the hash to publish before that day's racing.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace trotix {

struct LedgerRun {
  std::filesystem::path archive;  // the archive file of the run
  int raceTimesOffset = 0;        // minutes the race times are ahead of UTC
  bool json = false;
};

// The exit status of `words` when they are a ledger command ("ledger" first); none otherwise.
std::optional<int> RunLedgerCommand(const std::vector<std::string>& words, const LedgerRun& run);

}  // namespace trotix
