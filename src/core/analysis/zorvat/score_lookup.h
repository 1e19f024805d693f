#pragma once
#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
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

// ScoreBase by its first three fields, built once for a run over many races: each lookup is then
// a hash probe instead of a walk through the whole table. Views into `scoreBase`, which must
// outlive the index unchanged.
class ScoreIndex {
 public:
  explicit ScoreIndex(const std::vector<std::string>& scoreBase);
  // What ScoreLookup over the same table gives.
  std::string Find(const RaceNumbers& rn, std::string_view status,
                   const std::array<int, 6>& w) const;

 private:
  struct Key {
    std::string_view status, code1, code2;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const;
  };
  std::unordered_map<Key, std::string_view, KeyHash> score_;  // the first matching line wins
};

}  // namespace trotix
