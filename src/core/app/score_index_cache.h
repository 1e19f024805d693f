#pragma once
// The Zorvat score table's index, built once and used again while the table stays the same.
#include <optional>
#include <string>
#include <vector>

#include "analysis/zorvat/score_lookup.h"

namespace trotix {

// Both best-of runs of a day read one table, and so does every day a back-test replays (the
// table is one stored body): the index is built when the table differs from the one indexed.
// It views into its own copy, so it outlives the Workspace it was asked for.
class ScoreIndexCache {
 public:
  const ScoreIndex& For(const std::vector<std::string>& scoreBase) {
    if (!index_ || lines_ != scoreBase) {
      index_.reset();
      lines_ = scoreBase;
      index_.emplace(lines_);
    }
    return *index_;
  }

 private:
  std::vector<std::string> lines_;
  std::optional<ScoreIndex> index_;
};

}  // namespace trotix
