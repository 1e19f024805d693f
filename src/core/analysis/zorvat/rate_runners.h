#pragma once
#include <string>
#include <vector>

#include "analysis/zorvat/score_lookup.h"
#include "table/table.h"

namespace trotix {

// Rates every runner of H against the race numbers of RF: picks each runner's values from
// ProcessBase (keyed by "NH" and "VH", then by each race number in turn while "I1" is 0),
// writes "Status I", "Status II" and "Score" (looked up in ScoreBase) and colours the value
// cells that equal a race number. Reads columns 0-4 of H and row 0 of RF. `index`, when given,
// must be built from `scoreBase`.
void RateRunners(Table& H, const Table& RF, const std::vector<std::string>& processBase,
                 const std::vector<std::string>& scoreBase, const ScoreIndex* index = nullptr);

}  // namespace trotix
