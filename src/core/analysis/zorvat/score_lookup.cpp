#include "analysis/zorvat/score_lookup.h"

#include "text/fields.h"

namespace trotix {

std::string ScoreLookup(const RaceNumbers& rn, const std::vector<std::string>& scoreBase,
                        std::string_view status, const std::array<int, 6>& w) {
  const std::string code1 = LetterCode(rn, w[0], w[1], w[2]);
  const std::string code2 = LetterCode(rn, w[3], w[4], w[5]);
  // Runs once per runner over the whole table: compare views, copy only the answer.
  for (const auto& line : scoreBase) {
    if (FieldView(line, 1) != status) continue;
    if (FieldView(line, 2) == code1 && FieldView(line, 3) == code2) return GetField(line, 4);
  }
  return "?";
}

std::string ScoreLookup(const Table& RF, const std::vector<std::string>& scoreBase,
                        std::string_view status, const std::array<int, 6>& w) {
  return ScoreLookup(ReadRaceNumbers(RF), scoreBase, status, w);
}

ScoreIndex::ScoreIndex(const std::vector<std::string>& scoreBase) {
  score_.reserve(scoreBase.size());
  for (const auto& line : scoreBase)
    score_.emplace(Key{FieldView(line, 1), FieldView(line, 2), FieldView(line, 3)},
                   FieldView(line, 4));
}

std::size_t ScoreIndex::KeyHash::operator()(const Key& k) const {
  const std::hash<std::string_view> h;
  return h(k.status) ^ (h(k.code1) * 31) ^ (h(k.code2) * 961);
}

std::string ScoreIndex::Find(const RaceNumbers& rn, std::string_view status,
                             const std::array<int, 6>& w) const {
  const std::string code1 = LetterCode(rn, w[0], w[1], w[2]);
  const std::string code2 = LetterCode(rn, w[3], w[4], w[5]);
  const auto it = score_.find(Key{status, code1, code2});
  return it == score_.end() ? "?" : std::string(it->second);
}

}  // namespace trotix
