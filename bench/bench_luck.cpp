#include "bench_luck.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "proof/stats.h"

namespace trotix::bench {
namespace {

// A method's picks on the exchange's ladder, the shorter prices more often, winners as often as
// the prices say.
std::vector<proof::Bet> LadderPicks(int count) {
  const double ladder[] = {1.5, 1.8, 2,  2.2, 2.5, 3,  3.5, 4,  4.5, 5,   6,   7,   8,   9,   10,
                           12,  14,  17, 21,  26,  34, 46,  67, 101, 150, 210, 300, 450, 1000};
  std::mt19937_64 random(11);
  std::uniform_int_distribution<int> pick(0, std::size(ladder) - 1);
  std::uniform_real_distribution<double> unit(0, 1);
  std::vector<proof::Bet> bets;
  for (int i = 0; i < count; ++i) {
    const double price = ladder[std::min(pick(random), pick(random))];
    proof::Bet b;
    b.date = {2026, 1 + i / 3000 % 12, 1 + i / 100 % 28};
    b.time = std::to_string(12 + i % 10) + ":" + std::to_string(10 + i % 50);
    b.course = "Course " + std::to_string(i % 20);
    b.method = "Best Rank";
    b.price = price;
    const bool won = unit(random) < 1 / price;
    b.result = won ? proof::Result::kWon : proof::Result::kUnplaced;
    if (won) b.sp = price;
    bets.push_back(std::move(b));
  }
  return bets;
}

}  // namespace

bool ExactLuckScenario(int picks) {
  std::printf(
      "\n== Every figure of one method, exact luck included, by picks at prices 1.5-1000\n");
  bool met = true;
  for (int count : {1000, 2500, picks}) {
    const std::vector<proof::Bet> bets = LadderPicks(count);
    const auto start = std::chrono::steady_clock::now();
    const proof::MethodFigures f = proof::Figures(bets);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("  %6d picks: %9.1f ms  (luck 1 in %.3g)", count, ms, f.luckOneIn);
    if (count == picks) {
      met = ms < 150;
      std::printf("   target < 150 ms: %s", met ? "met" : "NOT MET");
    }
    std::printf("\n");
  }
  return met;
}

}  // namespace trotix::bench
