#pragma once
// The best-of runs: every race of MM analysed in turn, each race adding its pick to REP.
#include <functional>

#include "model/workspace.h"

namespace trotix {

enum class BestOfSystem { kBestRank, kBestRecoming };

// The "System" text of the rows a run adds.
const char* BestOfSystemName(BestOfSystem system);

// Appends to REP, for the race analysed last (MM row k), every TAB runner whose "Rank" cell is
// lime and whose name stands in RR, names compared exactly. "Odds" is its exchange place price.
void BestRankRows(Workspace& ws, int k);
// Appends to REP every TAB runner named exactly as RR row 0, with "Kf" as "Odds".
void BestRecomingRows(Workspace& ws, int k);
void BestOfRows(Workspace& ws, int k, BestOfSystem system);

struct BestOfHooks {
  // Before race k of `count`: progress and Cancel. Returning false ends the run there.
  std::function<bool(int k, int count)> beforeRace;
  // After race k has added its rows, e.g. for a snapshot of the tables.
  std::function<void(int k, int count)> afterRace;
};

// Analyses every race of MM in order with `analyse` and appends the picks of `system` to REP.
// The Session passes AnalyseRace with the run's "From Real Odds" tick.
// REP is never emptied: a second run appends again. A cancel or an error (which propagates)
// ends the run; the rows already appended stay. Returns the number of races completed.
using RaceAnalysis = std::function<void(Workspace& ws, int k)>;
int RunBestOf(Workspace& ws, BestOfSystem system, const RaceAnalysis& analyse,
              const BestOfHooks& hooks = {});

}  // namespace trotix
