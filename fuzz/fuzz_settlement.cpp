// A race day, its results and picks ("time>>course>>runner>>" a line) settled: every verdict is
// one a pick can have, with a starting price only when it is a real price; every pick of a race
// the results hold is settled once the day is over; the day read once
// gives what each pick read alone gives; a race that has run keeps its verdict once the day is
// over; a raised stop settles nothing.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "archive/settlement.h"
#include "fuzz_input.h"
#include "model/prices.h"
#include "text/fields.h"
#include "text/strings.h"

namespace {

// Enough picks to meet every kind of verdict; each one costs an input a read of its results.
constexpr std::size_t kMostPicks = 12;
// Picks also settled alone, which reads the day again for each.
constexpr std::size_t kAlone = 3;

bool Same(const trotix::Verdict& v, const trotix::Pick& p) {
  return v.result == p.result && v.position == p.position && v.sp == p.sp;
}

void CheckVerdict(const trotix::Pick& p) {
  using trotix::PickResult;
  const bool fits = (p.result == PickResult::kWon && p.position == 1) ||
                    (p.result == PickResult::kPlaced && (p.position == 2 || p.position == 3)) ||
                    (p.result == PickResult::kUnplaced && (p.position == 0 || p.position == 4)) ||
                    (p.result == PickResult::kVoid && p.position == 0 && !p.sp);
  if (!fits) __builtin_trap();
  if (p.sp && (!std::isfinite(*p.sp) || *p.sp <= 1 || *p.sp > trotix::kLargestPrice))
    __builtin_trap();
  if (p.sp && p.position == 0) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto parts = trotix::fuzz::SplitParts(data, size, 3);
  const std::string_view day = parts[0];
  const auto results = trotix::ParseResults(parts[1]);

  std::vector<trotix::Pick> picks;
  const auto add = [&](std::string time, std::string course, std::string runner) {
    if (picks.size() >= kMostPicks) return;
    trotix::Pick p;
    p.day = {2026, 12, 8};
    p.time = std::move(time);
    p.course = std::move(course);
    p.runner = std::move(runner);
    picks.push_back(std::move(p));
  };
  for (const std::string& line : trotix::SplitLines(parts[2]))
    add(trotix::GetField(line, 1), trotix::GetField(line, 2), trotix::GetField(line, 3));
  // Every finisher of the results is picked too, so that wins and places are reached.
  for (const auto& race : results)
    for (const auto& finisher : race.first)
      add(race.time, race.course, trotix::ResultRunnerKey(finisher.name));

  const auto open = trotix::SettleDay(picks, results, day, false);
  const auto over = trotix::SettleDay(picks, results, day, true);
  if (open.size() > over.size() || over.size() > picks.size()) __builtin_trap();
  // Once the day is over, every pick whose race the results hold is settled; a race they lack
  // waits for a later fetch.
  std::size_t held = 0;
  for (const trotix::Pick& p : picks) held += trotix::ResultsHoldRace(results, p) ? 1 : 0;
  if (over.size() < held) __builtin_trap();
  std::size_t o = 0;
  for (std::size_t i = 0; i < over.size(); ++i) {
    const trotix::Pick& p = over[i];
    CheckVerdict(p);
    if (i < kAlone) {
      const auto alone = trotix::SettlePick(p, results, day, true);
      if (!alone || !Same(*alone, p)) __builtin_trap();
    }
    // A pick settled before the day is over keeps its verdict after.
    if (o < open.size() && open[o].time == p.time && open[o].course == p.course &&
        open[o].runner == p.runner) {
      if (open[o].result != p.result || open[o].sp != p.sp) __builtin_trap();
      ++o;
    }
  }
  if (o != open.size()) __builtin_trap();

  trotix::StopSignal stop;
  stop.Cancel();
  if (!trotix::SettleDay(picks, results, day, true, &stop).empty()) __builtin_trap();
  return 0;
}
