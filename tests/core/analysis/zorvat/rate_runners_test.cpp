#include "analysis/zorvat/rate_runners.h"

#include <gtest/gtest.h>

#include <array>

#include "zorvat_fixtures.h"

namespace trotix {
namespace {

using testing::kExampleLine;
using testing::RaceNumbersGrid;
using testing::RunnerGrid;
using Lines = std::vector<std::string>;

std::array<Rgb, 6> Colours(const Table& h, int row, int firstCol) {
  std::array<Rgb, 6> out;
  for (int i = 0; i < 6; ++i) out[i] = h.ColorOf(row, firstCol + i);
  return out;
}

constexpr Rgb W = colors::kWhite, Red = colors::kRed, Green = colors::kGreen,
              Blue = colors::kLightBlue, Purple = colors::kPurple;
constexpr std::array<Rgb, 6> kAllWhite{W, W, W, W, W, W};

TEST(RateRunners, WorkedExample) {
  const struct {
    const char* what;
    Lines scoreBase;
    std::string score;
  } cases[] = {
      {"matching score line", {">>x>>x>>7>>", "4B(c)>>DF>>IV>>12>>"}, "12"},
      {"no score line at all", {}, "?"},
      // Part I leaves "?", so Part II looks up its empty status with the codes x and x.
      {"only a line for the empty status", {"4B(c)>>DF>>x>>1>>", ">>x>>x>>7>>"}, "7"},
  };
  for (const auto& c : cases) {
    Table h = RunnerGrid({{4, 7}});
    RateRunners(h, RaceNumbersGrid(3, 5, 8, 2), {kExampleLine}, c.scoreBase);
    EXPECT_EQ(h.Text(0, h::kStatusI), "4B(c)") << c.what;
    EXPECT_EQ(h.Text(0, h::kStatusII), "") << c.what;
    EXPECT_EQ(h.Text(0, h::kScore), c.score) << c.what;
    const int values[] = {3, 5, 6, 8, 2, 9, 4, 1, 1, 1, 1, 1, 1, 5};
    for (int i = 0; i < 14; ++i) EXPECT_EQ(h.Integer(0, h::kValuesI + i), values[i]) << i;
    EXPECT_EQ(Colours(h, 0, h::kValuesI), (std::array<Rgb, 6>{Red, Green, W, Blue, Purple, W}));
    EXPECT_EQ(Colours(h, 0, h::kValuesII), kAllWhite);
    for (int col : {h::kPtsI, h::kPtsII}) {
      EXPECT_EQ(h.ColorOf(0, col), colors::kYellow);
      EXPECT_TRUE(h.At(0, col).bold);
    }
  }
}

struct StatusCase {
  const char* what;
  std::array<int, 4> rf;  // DV, FNH, ID, VP
  int nh, vh;
  Lines processBase, scoreBase;
  std::string statusI, statusII, score;
};

TEST(RateRunners, StatusesAndScores) {
  const std::string nines = "9>>9>>9>>9>>9>>9>>0>>";
  const StatusCase cases[] = {
      {"VH 4 against DV 1 gives the DV mark",
       {1, 5, 8, 2},
       3,
       4,
       {"34>>5>>6>>3>>1>>8>>2>>0>>" + nines},
       {"4x(A)>>F>>DIV>>15>>"},
       "4x(A)",
       "",
       "15"},
      {"NH and w3 both race numbers",
       {3, 5, 8, 2},
       5,
       1,
       {"51>>6>>3>>8>>5>>2>>0>>0>>" + nines},
       {"1a(x)>>DI>>FV>>4>>"},
       "1a(x)",
       "",
       "4"},
      {"O.W. without the ? rule keeps 0 unlooked",
       {1, 5, 8, 4},
       3,
       6,
       {"36>>1>>5>>8>>3>>6>>9>>6>>" + nines},
       {"O.W.(x)>>DFIV>>x>>50>>"},
       "O.W.(x)",
       "",
       "0"},
      {"O.W. with the ? rule: Pts I equals VH",
       {1, 5, 8, 4},
       1,
       5,
       {"15>>1>>5>>8>>3>>6>>9>>5>>" + nines},
       {"O.W.(B)>>DFIV>>x>>21>>"},
       "O.W.(B)",
       "",
       "21"},
      {"O.W. with the ? rule: Pts I equals DV once folded",
       {1, 5, 8, 4},
       3,
       5,
       {"35>>1>>5>>8>>3>>6>>9>>4>>" + nines},
       {"O.W.(B)>>DFIV>>x>>21>>"},
       "O.W.(B)",
       "",
       "21"},
      {"O.W. with the ? rule and no score line",
       {1, 5, 8, 4},
       1,
       5,
       {"15>>1>>5>>8>>3>>6>>9>>5>>" + nines},
       {},
       "O.W.(B)",
       "",
       "?"},
      {"O.W. in Part II after a Part I lookup that found nothing",
       {1, 5, 8, 4},
       3,
       6,
       {"36>>9>>9>>9>>9>>9>>9>>0>>1>>5>>8>>3>>6>>9>>0>>"},
       {"O.W.(x)>>DFIV>>x>>50>>"},
       "",
       "O.W.(x)",
       "50"},
      {"O.W. in Part II after a Part I score",
       {1, 5, 8, 4},
       3,
       6,
       {"36>>9>>9>>9>>9>>9>>9>>0>>1>>5>>8>>3>>6>>9>>0>>"},
       {">>x>>x>>-2>>", "O.W.(x)>>DFIV>>x>>50>>"},
       "",
       "O.W.(x)",
       "-2"},
      {"Ex. runner: Part II looks up after Part I left ?",
       {3, 5, 3, 2},
       6,
       9,
       {"69>>3>>3>>6>>9>>9>>9>>0>>5>>2>>6>>9>>9>>9>>0>>"},
       {"Ex.(c)>>FV>>x>>33>>"},
       "Ex.(a)",
       "Ex.(c)",
       "33"},
      {"Ex. runner: a Part I score stays",
       {3, 5, 3, 2},
       6,
       9,
       {"69>>3>>3>>6>>9>>9>>9>>0>>5>>2>>6>>9>>9>>9>>0>>"},
       {">>DI>>x>>8>>", "Ex.(c)>>FV>>x>>33>>"},
       "Ex.(a)",
       "Ex.(c)",
       "8"},
      {"Ex. runner whose third values are race numbers",
       {3, 5, 8, 2},
       6,
       9,
       {"69>>6>>8>>3>>9>>9>>9>>0>>6>>2>>5>>9>>9>>9>>0>>"},
       {},
       "Ex.(A)",
       "Ex.(B)",
       "?"},
      {"Ex. runner without marks in its second and third values",
       {3, 5, 3, 3},
       6,
       9,
       {"69>>3>>6>>6>>9>>9>>9>>0>>5>>6>>6>>9>>9>>9>>0>>"},
       {"Ex.(x)>>F>>x>>3>>"},
       "Ex.(x)",
       "Ex.(x)",
       "3"},
      {"no record at all: WINER in both parts",
       {3, 5, 8, 2},
       6,
       9,
       {},
       {">>x>>x>>5>>"},
       "WINER!!!",
       "WINER!!!",
       "Yes!"},
      {"WINER in Part I only",
       {3, 5, 8, 2},
       6,
       9,
       {"69>>9>>0>>9>>9>>9>>9>>0>>9>>9>>9>>9>>9>>9>>0>>"},
       {},
       "WINER!!!",
       "",
       "?"},
      {"U. runner found through DV",
       {3, 5, 8, 2},
       6,
       7,
       {"37" + kExampleLine.substr(2)},
       {"U.4B(c)>>DF>>IV>>11>>"},
       "U.4B(c)",
       "",
       "11"},
      {"U. runner found through FNH after a DV record without I1",
       {3, 5, 8, 2},
       6,
       7,
       {"37>>0>>5>>6>>8>>2>>9>>4>>1>>1>>1>>1>>1>>1>>5>>", "57" + kExampleLine.substr(2)},
       {"U.4B(c)>>DF>>IV>>11>>"},
       "U.4B(c)",
       "",
       "11"},
  };
  for (const auto& c : cases) {
    Table h = RunnerGrid({{c.nh, c.vh}});
    RateRunners(h, RaceNumbersGrid(c.rf[0], c.rf[1], c.rf[2], c.rf[3]), c.processBase, c.scoreBase);
    EXPECT_EQ(h.Text(0, h::kStatusI), c.statusI) << c.what;
    EXPECT_EQ(h.Text(0, h::kStatusII), c.statusII) << c.what;
    EXPECT_EQ(h.Text(0, h::kScore), c.score) << c.what;
  }
}

TEST(RateRunners, LaterProcessLineWithTheSameKeyWins) {
  const std::string other = "47>>9>>9>>9>>9>>9>>9>>9>>9>>9>>9>>9>>9>>9>>9>>";
  Table h = RunnerGrid({{4, 7}, {4, 7}});
  RateRunners(h, RaceNumbersGrid(3, 5, 8, 2), {other, kExampleLine}, {});
  EXPECT_EQ(h.Integer(0, h::kValuesI), 3);
  EXPECT_EQ(h.Text(0, h::kStatusI), "4B(c)");
  RateRunners(h, RaceNumbersGrid(3, 5, 8, 2), {kExampleLine, other}, {});
  EXPECT_EQ(h.Integer(1, h::kValuesI), 9);
  EXPECT_EQ(h.Integer(1, h::kPtsII), 9);
  EXPECT_EQ(h.Text(1, h::kStatusI), "");
}

TEST(RateRunners, ValueCellsTakeTheColourOfTheFirstEqualRaceNumber) {
  // DV and VP are both 3: a 3 is red.
  Table h = RunnerGrid({{6, 9}, {6, 9}});
  const Lines process = {"69>>3>>5>>8>>9>>9>>9>>0>>3>>5>>8>>2>>9>>1>>0>>"};
  RateRunners(h, RaceNumbersGrid(3, 5, 8, 3), process, {});
  EXPECT_EQ(h.Text(0, h::kStatusI), "O.W.(x)");
  EXPECT_EQ(Colours(h, 0, h::kValuesI), (std::array<Rgb, 6>{Red, Green, Blue, W, W, W}));
  EXPECT_EQ(Colours(h, 0, h::kValuesII), (std::array<Rgb, 6>{Red, Green, Blue, W, W, W}));

  // Ex. statuses colour both parts, with DV before ID when a value equals both.
  Table ex = RunnerGrid({{6, 9}});
  RateRunners(ex, RaceNumbersGrid(3, 5, 3, 2), {"69>>3>>3>>6>>9>>9>>9>>0>>5>>2>>6>>9>>9>>9>>0>>"},
              {});
  ASSERT_EQ(ex.Text(0, h::kStatusI), "Ex.(a)");
  EXPECT_EQ(Colours(ex, 0, h::kValuesI), (std::array<Rgb, 6>{Red, Red, W, W, W, W}));
  EXPECT_EQ(Colours(ex, 0, h::kValuesII), (std::array<Rgb, 6>{Green, Purple, W, W, W, W}));

  // Without a status the values stay white, even the ones equal to race numbers.
  Table none = RunnerGrid({{6, 9}});
  RateRunners(none, RaceNumbersGrid(3, 5, 8, 2), {"69>>3>>0>>5>>9>>9>>9>>0>>3>>5>>8>>9>>9>>9>>0>>"},
              {});
  ASSERT_EQ(none.Text(0, h::kStatusII), "");
  EXPECT_EQ(Colours(none, 0, h::kValuesII), kAllWhite);
}

TEST(RateRunners, RatingTwiceGivesTheSameGrid) {
  Table h = RunnerGrid({{4, 7}, {6, 7}, {6, 9}, {1, 5}});
  const Table rf = RaceNumbersGrid(3, 5, 8, 2);
  const Lines process = {kExampleLine, "37" + kExampleLine.substr(2)};
  const Lines score = {"4B(c)>>DF>>IV>>12>>"};
  RateRunners(h, rf, process, score);
  const Table once = h;
  RateRunners(h, rf, process, score);
  EXPECT_EQ(h, once);
}

}  // namespace
}  // namespace trotix
