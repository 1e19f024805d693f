#include "analysis/zorvat/score_lookup.h"

#include "text/fields.h"

namespace trotix {

std::string ScoreLookup(const RaceNumbers& rn, const std::vector<std::string>& scoreBase,
                        std::string_view status, const std::array<int, 6>& w) {
  const std::string code1 = LetterCode(rn, w[0], w[1], w[2]);
  const std::string code2 = LetterCode(rn, w[3], w[4], w[5]);
  for (const auto& line : scoreBase) {
    if (GetField(line, 1) == status && GetField(line, 2) == code1 && GetField(line, 3) == code2)
      return GetField(line, 4);
  }
  return "?";
}

std::string ScoreLookup(const Table& RF, const std::vector<std::string>& scoreBase,
                        std::string_view status, const std::array<int, 6>& w) {
  return ScoreLookup(ReadRaceNumbers(RF), scoreBase, status, w);
}

}  // namespace trotix
