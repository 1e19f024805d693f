// The score table's index kept between runs: used again while the table is the same, built
// again when it differs, and never tied to the table it was asked for.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/zorvat/race_numbers.h"
#include "app/score_index_cache.h"
#include "core/analysis/zorvat/zorvat_fixtures.h"

namespace trotix {
namespace {

TEST(ScoreIndexCache, FollowsTheTableItIsAskedFor) {
  const RaceNumbers rn = ReadRaceNumbers(testing::RaceNumbersGrid(3, 5, 8, 2));
  const std::array<int, 6> w{3, 5, 6, 8, 2, 9};

  ScoreIndexCache cache;
  const struct {
    std::vector<std::string> table;
    std::string score;
  } steps[] = {
      {{"4B(c)>>DF>>IV>>12>>"}, "12"},
      {{"4B(c)>>DF>>IV>>12>>"}, "12"},
      {{"4B(c)>>DF>>IV>>13>>"}, "13"},  // the same size, another score
      {{}, "?"},
      {{"x>>x>>x>>1>>", "4B(c)>>DF>>IV>>12>>"}, "12"},
  };
  for (const auto& s : steps) {
    // The caller's table goes before the index is used: it views into its own copy.
    auto table = std::make_unique<std::vector<std::string>>(s.table);
    const ScoreIndex& index = cache.For(*table);
    table.reset();
    EXPECT_EQ(index.Find(rn, "4B(c)", w), s.score) << s.score;
  }
}

}  // namespace
}  // namespace trotix
