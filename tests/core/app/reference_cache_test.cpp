// The reference files kept between sign-ins: a file's lines shared while it comes the same, the
// score table's index used again while the table is the same and built again when it differs,
// never tied to the Workspace it was asked for.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/zorvat/race_numbers.h"
#include "app/reference_cache.h"
#include "core/analysis/zorvat/zorvat_fixtures.h"

namespace trotix {
namespace {

TEST(ReferenceCache, ParsesAFileOnceWhileItComesTheSame) {
  ParsedLines parsed;
  const struct {
    std::string text;
    std::vector<std::string> lines;
    bool shared;  // the lines of the call before
  } steps[] = {
      {"a>>1>>\nb>>2>>\n", {"a>>1>>", "b>>2>>"}, false},
      {"a>>1>>\nb>>2>>\n", {"a>>1>>", "b>>2>>"}, true},
      {"a>>1>>\nb>>3>>\n", {"a>>1>>", "b>>3>>"}, false},  // the same size, another line
      {"", {}, false},
      {"", {}, true},
  };
  SharedLines before;
  for (const auto& s : steps) {
    const SharedLines lines = parsed.Of(s.text);
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(*lines, s.lines) << s.text;
    EXPECT_EQ(lines == before, s.shared) << s.text;
    before = lines;
  }
}

TEST(ReferenceCache, FollowsTheScoreTableItIsAskedFor) {
  const RaceNumbers rn = ReadRaceNumbers(testing::RaceNumbersGrid(3, 5, 8, 2));
  const std::array<int, 6> w{3, 5, 6, 8, 2, 9};

  ScoreIndexCache cache;
  const struct {
    std::vector<std::string> table;
    std::string score;
  } steps[] = {
      {{"4B(c)>>DF>>IV>>12>>"}, "12"},
      {{"4B(c)>>DF>>IV>>12>>"}, "12"},  // equal lines of another parse
      {{"4B(c)>>DF>>IV>>13>>"}, "13"},  // the same size, another score
      {{}, "?"},
      {{"x>>x>>x>>1>>", "4B(c)>>DF>>IV>>12>>"}, "12"},
  };
  for (const auto& s : steps) {
    // The Workspace's lines go before the index is used: it keeps what it views into.
    auto lines = std::make_shared<const std::vector<std::string>>(s.table);
    const ScoreIndex& index = cache.For(lines);
    lines.reset();
    EXPECT_EQ(index.Find(rn, "4B(c)", w), s.score) << s.score;
  }
}

}  // namespace
}  // namespace trotix
