#pragma once
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/session.h"
#include "archive/day_archive.h"
#include "table/table.h"

namespace trotix {

// Text for one line of the terminal: decoded for display, with every control character, direction
// mark or override and line separator written as an escape (\n, \r, \t, \x1b, \u0085, \u202e),
// so no text from data starts a line of its own, drives the terminal or reorders what follows.
std::string PrintableText(std::string_view bytes);

// A table's shown columns as aligned text, headed by its name.
void PrintTable(std::ostream& out, const std::string& name, const Table& table);
// The picks ledger as a table named PICKS.
void PrintPicks(std::ostream& out, const std::vector<Pick>& picks);
// The figures of each method as a table named PROOF, and what they leave out.
void PrintProof(std::ostream& out, const ProofSide& side);
// A method's picks with the running total, as a table named after the method.
void PrintPickLines(std::ostream& out, const std::string& method,
                    const std::vector<PickLine>& lines);
// A line per day of a back-test, then the run.
void PrintBacktest(std::ostream& out, const BacktestSummary& summary);

// The line --progress prints for a finished race: "best-rank 14/40 16:45 Lingfield: 1 row".
std::string ProgressLine(const RaceStep& step);

}  // namespace trotix
