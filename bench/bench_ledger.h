#pragma once
// `trotix-cli ledger verify` of a long ledger.
#include <filesystem>
#include <string>

namespace trotix::bench {

struct LedgerVerifyFigures {
  long long events = 0;
  double buildSeconds = 0;   // writing the ledger, for scale
  double verifySeconds = 0;  // median wall time of `trotix-cli ledger verify`, start to exit
  double cpuSeconds = 0;     // its median CPU time, user and system: what a busy machine keeps
  bool intact = false;       // every run exited 0
};

// Writes a ledger of `events` events (made, then settled) into an archive in `dir` and times
// `cli` verifying it `rounds` times.
LedgerVerifyFigures LedgerVerify(const std::string& cli, const std::filesystem::path& dir,
                                 long long events, int rounds);

}  // namespace trotix::bench
