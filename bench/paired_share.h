#pragma once
// What one side of a comparison adds to a timed step, measured so that a shared machine's load
// does not decide it: many rounds in pairs, the order flipped each round, medians with their
// spread, and the CPU time of the measuring thread beside the wall time.
#include <algorithm>
#include <vector>

#include "bench_util.h"

namespace trotix::bench {

struct PairedShare {
  int rounds = 0;
  double wallWithout = 0, wallWith = 0;  // medians, seconds
  // The share each pair's second side added to its wall time, in per cent: median and quartiles.
  double wallAdded = 0, wallLow = 0, wallHigh = 0;
  double cpuWithout = 0, cpuWith = 0;  // medians of the measuring thread's CPU, seconds
  double cpuAdded = 0;                 // median of the pairs' added CPU, seconds
  // The added CPU against the wall time without it, in per cent: what it adds to the wait when
  // none of it overlaps the network's.
  double cpuShare = 0;
};

inline double Quantile(std::vector<double> values, double q) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const double at = q * static_cast<double>(values.size() - 1);
  const auto low = static_cast<std::size_t>(at);
  const std::size_t high = std::min(low + 1, values.size() - 1);
  return values[low] + (values[high] - values[low]) * (at - static_cast<double>(low));
}

// `step(with, timed)` prepares one round, with the added work or without it, and runs the part
// to measure as `timed(fn)`: only `fn` is timed.
template <class Step>
PairedShare MeasurePairedShare(int rounds, Step&& step) {
  std::vector<double> wall[2], cpu[2], wallAdded, cpuAdded;
  for (int round = 0; round < rounds; ++round) {
    double w[2] = {}, c[2] = {};
    for (int turn = 0; turn < 2; ++turn) {
      const int with = (round % 2 == 0) == (turn == 1) ? 1 : 0;
      step(with == 1, [&](auto&& fn) {
        const double cpuStart = ThreadCpuSeconds();
        const double start = WallSeconds();
        fn();
        w[with] = WallSeconds() - start;
        c[with] = ThreadCpuSeconds() - cpuStart;
      });
    }
    for (int side = 0; side < 2; ++side) {
      wall[side].push_back(w[side]);
      cpu[side].push_back(c[side]);
    }
    wallAdded.push_back((w[1] - w[0]) / w[0] * 100);
    cpuAdded.push_back(c[1] - c[0]);
  }
  PairedShare s;
  s.rounds = rounds;
  s.wallWithout = Median(wall[0]);
  s.wallWith = Median(wall[1]);
  s.wallAdded = Median(wallAdded);
  s.wallLow = Quantile(wallAdded, 0.25);
  s.wallHigh = Quantile(wallAdded, 0.75);
  s.cpuWithout = Median(cpu[0]);
  s.cpuWith = Median(cpu[1]);
  s.cpuAdded = Median(cpuAdded);
  s.cpuShare = s.wallWithout > 0 ? s.cpuAdded / s.wallWithout * 100 : 0;
  return s;
}

}  // namespace trotix::bench
