#pragma once
#include <array>

#include "model/workspace.h"
#include "table/table.h"

namespace trotix {

// Number of RR rows wanted for a race of `runners`: 2 below 8, 3 up to 16, 4 from 17.
int RecomingCount(int runners);

// A non-runner (numbered kNonRunner) keeps its row in R, greyed and marked with kNonRunner in
// its name's hint, but is never recommended.
bool IsNonRunner(const Table& TAB, int row);

// The eight component scores of TAB row `row`, in Summa's order (Rank, BF %, Scalp, RPR,
// Indicator, Tips1, FR, Zorvat); Summa is their sum, added in that order.
std::array<double, 8> SummaParts(const Table& TAB, int row);

// Fills R with the eight component scores and their "Summa" per runner of TAB, sorted by
// "Summa" ascending (equal sums keep TAB order), and RR with the highest sums of the runners
// that run, highest first; RR lists only the rows R has.
void BuildSummaTable(const Table& TAB, Table& R, Table& RR);

}  // namespace trotix
