#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/zorvat/race_numbers.h"
#include "table/table.h"

namespace trotix {

// Field 4 of the first ScoreBase line whose fields 1-3 are the status text and the letter codes
// of w1-w3 and w4-w6; "?" when no line matches.
std::string ScoreLookup(const Table& RF, const std::vector<std::string>& scoreBase,
                        std::string_view status, const std::array<int, 6>& w);
std::string ScoreLookup(const RaceNumbers& rn, const std::vector<std::string>& scoreBase,
                        std::string_view status, const std::array<int, 6>& w);

}  // namespace trotix
