#pragma once
// The Zorvat reference tables as parsed, and the score table's index, kept while the files come
// the same.
#include <optional>

#include "analysis/zorvat/reference_tables.h"
#include "analysis/zorvat/score_lookup.h"
#include "model/workspace.h"

namespace trotix {

// Both best-of runs of a day read one score table, and so does every day a back-test replays
// (the table is one stored body): the index is built when the table differs from the one
// indexed. It keeps the lines it views into, so it outlives the Workspace it was asked for.
class ScoreIndexCache {
 public:
  const ScoreIndex& For(const SharedLines& scoreBase) {
    if (!index_ || (lines_ != scoreBase && *lines_ != *scoreBase)) {
      index_.reset();
      lines_ = scoreBase;
      index_.emplace(*lines_);
    }
    return *index_;
  }

 private:
  SharedLines lines_;
  std::optional<ScoreIndex> index_;
};

// What a Session keeps of the reference files between sign-ins; a back-test lends its own to the
// Session of each day it replays, one after another on its thread.
struct ReferenceCache {
  ZorvatLines lines;
  ScoreIndexCache scores;
};

}  // namespace trotix
