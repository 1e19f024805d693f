#pragma once
#include "analysis/zorvat/score_lookup.h"
#include "model/workspace.h"

namespace trotix {

// Scores the race in `row` of NX: sets e1-e3, refills TAB (and the ALL TABLE labels) with the
// race card, writes "FNH", "ID" and "VP" of RF, one row of H per runner and rates them.
// A card without runners leaves H empty. `row` must name a row of NX; RF gets its one row if
// the reference tables were never loaded. `scores`, when given, indexes ws.ScoreBase.
void ScoreRace(Workspace& ws, int row, const ScoreIndex* scores = nullptr);

}  // namespace trotix
