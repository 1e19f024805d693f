#pragma once
// Testing a system: a scan of the stored runners of every analysed race, race by race, giving the
// picks the system would have made and the figures Proof gives a method. Pure: rows in, picks and
// figures out.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "archive/runner_parts.h"
#include "proof/stats.h"
#include "systems/rule.h"
#include "text/dates.h"

namespace trotix::systems {

// A ledger's result as the statistics take it: unsettled is pending.
proof::Result ResultOf(PickResult result);

// The order every scan takes: by day, time and course, each race's runners in card order.
void SortRows(std::vector<RunnerParts>& rows);

// The weights times the parts, added in Summa's order: with every weight 1 it is Summa itself.
double WeightedSum(const PartValues& parts, const PartValues& weights);

// Whether the race (its rows, in card order) passes the rule's race filters.
bool RaceQualifies(std::span<const RunnerParts> race, const Rule& rule);
// The runners the rule picks in one race, highest sum first. The runners that run are ranked by
// weighted sum, equal sums by the later card row first, as Summa ranks them; non-runners never
// qualify. The runner filters then decide whether each selected runner is bet: they narrow the
// picks, they never promote another runner in a selected one's place.
std::vector<const RunnerParts*> SelectInRace(std::span<const RunnerParts> race, const Rule& rule);

// Every pick over sorted rows, the days from `from` to `to` (inclusive; none: open). Races
// analysed only at or after their off are left out.
std::vector<const RunnerParts*> SelectPicks(std::span<const RunnerParts> rows, const Rule& rule,
                                            std::optional<Date> from = {},
                                            std::optional<Date> to = {});

proof::Bet BetOf(const RunnerParts& row, const std::string& method);

struct TestFigures {
  std::vector<proof::Bet> bets;  // in race order, pending ones included
  proof::MethodFigures figures;  // of the settled ones
  int pending = 0;
};

TestFigures Figures(const std::vector<const RunnerParts*>& picks, const std::string& method,
                    double commission);

// The same system on the days before the split (in-sample) and from it on (out-of-sample).
struct SplitFigures {
  TestFigures inSample, outOfSample;
  std::string warning;  // empty unless the out-of-sample side falls well below
};
SplitFigures SplitTest(std::span<const RunnerParts> rows, const Rule& rule,
                       const std::string& method, const Date& split, double commission,
                       std::optional<Date> from = {}, std::optional<Date> to = {});

// When the out-of-sample side falls well below the in-sample one: its ROI to SP more than
// kRoiDropPoints points lower, or its strike rate under kStrikeShare of the in-sample one. Both
// sides need kFewestBets settled bets, else nothing is said. Empty when it does not.
inline constexpr double kRoiDropPoints = 10;
inline constexpr double kStrikeShare = 0.75;
inline constexpr int kFewestBets = 20;
std::string OverfitWarning(const proof::MethodFigures& in, const proof::MethodFigures& out);

}  // namespace trotix::systems
