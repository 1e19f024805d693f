#include "analysis/zorvat/race_numbers.h"

#include <gtest/gtest.h>

#include "analysis/zorvat/score_lookup.h"
#include "zorvat_fixtures.h"

namespace trotix {
namespace {

using testing::RaceNumbersGrid;

TEST(LetterCode, LettersOfTheRaceNumbersAmongThreeValues) {
  const Table rf = RaceNumbersGrid(3, 5, 8, 2);
  const struct {
    int p1, p2, p3;
    std::string code;
  } cases[] = {
      {3, 5, 8, "DFI"}, {3, 5, 6, "DF"},  {8, 2, 9, "IV"}, {5, 7, 0, "FV"},  // 7 folds to 2
      {1, 1, 1, "x"},   {2, 8, 3, "DIV"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LetterCode(rf, c.p1, c.p2, c.p3), c.code) << c.p1 << c.p2 << c.p3;
  EXPECT_EQ(LetterCode(RaceNumbersGrid(1, 5, 8, 4), 4, 5, 8), "DFIV");
}

TEST(BracketedMark, PrecedenceAmongEqualRaceNumbers) {
  const RaceNumbers rn = ReadRaceNumbers(RaceNumbersGrid(3, 5, 3, 7));
  EXPECT_EQ(BracketedMark(rn, 3), "(A)");
  EXPECT_EQ(BracketedMark(rn, 3, kExOrder), "(a)");  // ID before DV
  EXPECT_EQ(BracketedMark(rn, 2), "(c)");            // VP 7 folds to 2
  EXPECT_EQ(BracketedMark(rn, 5, kExOrder), "(B)");
  EXPECT_EQ(BracketedMark(rn, 9), "(x)");
  EXPECT_EQ(Mark(rn, 5), "B");
  EXPECT_EQ(Mark(rn, 9), "");
  // VH 4 against DV 1: equal once folded.
  EXPECT_EQ(BracketedMark(ReadRaceNumbers(RaceNumbersGrid(1, 5, 8, 2)), 4), "(A)");
}

TEST(StyleRaceNumbers, BoldTextInTheColumnColours) {
  Table rf = RaceNumbersGrid(3, 5, 8, 2);
  StyleRaceNumbers(rf);
  const Rgb fonts[] = {colors::kRed, colors::kGreen, colors::kNavy, colors::kPurple};
  for (int c = 0; c < 4; ++c) {
    EXPECT_TRUE(rf.At(0, c).bold);
    EXPECT_EQ(rf.At(0, c).fontColor, fonts[c]);
  }
}

TEST(ScoreLookup, FirstLineMatchingStatusAndBothCodes) {
  const Table rf = RaceNumbersGrid(3, 5, 8, 2);
  const std::vector<std::string> base = {
      "4B(c)>>DF>>IV>>12>>", "4B(c)>>DF>>IV>>13>>", "4B(c)>>DF>>x>>14>>", ">>x>>x>>-3>>",
      "4B(c)>>DF>>IV",  // no field 3 terminator: never matches
  };
  EXPECT_EQ(ScoreLookup(rf, base, "4B(c)", {3, 5, 6, 8, 2, 9}), "12");
  EXPECT_EQ(ScoreLookup(rf, base, "4B(c)", {3, 5, 6, 9, 9, 9}), "14");
  EXPECT_EQ(ScoreLookup(rf, base, "", {1, 1, 1, 1, 1, 1}), "-3");
  EXPECT_EQ(ScoreLookup(rf, base, "4b(c)", {3, 5, 6, 8, 2, 9}), "?");  // case counts
  EXPECT_EQ(ScoreLookup(rf, {}, "4B(c)", {3, 5, 6, 8, 2, 9}), "?");
}

// The index a best-of run builds once answers exactly as the walk through the table.
TEST(ScoreIndex, AnswersAsTheWalkThroughTheTable) {
  const RaceNumbers rn = ReadRaceNumbers(RaceNumbersGrid(3, 5, 8, 2));
  const std::vector<std::string> base = {
      "4B(c)>>DF>>IV>>12>>", "4B(c)>>DF>>IV>>13>>",  // the first of equal keys wins
      "4B(c)>>DF>>x>>14>>",  ">>x>>x>>-3>>",
      "4B(c)>>DF>>IV",     // unterminated: fields 3 and 4 empty
      "O.W.>>x>>x>>",      // no field 4: the empty score
      "1x>>>DF>>IV>>7>>",  // field 2 ">DF"
      "no fields at all",
  };
  const ScoreIndex index(base);
  const struct {
    std::string status;
    std::array<int, 6> w;
  } cases[] = {
      {"4B(c)", {3, 5, 6, 8, 2, 9}}, {"4B(c)", {3, 5, 6, 9, 9, 9}},     {"", {1, 1, 1, 1, 1, 1}},
      {"4b(c)", {3, 5, 6, 8, 2, 9}}, {"O.W.", {1, 1, 1, 1, 1, 1}},      {"1x", {3, 5, 6, 8, 2, 9}},
      {"1x>", {3, 5, 6, 8, 2, 9}},   {"4B(c)>>DF", {8, 2, 9, 1, 1, 1}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(index.Find(rn, c.status, c.w), ScoreLookup(rn, base, c.status, c.w)) << c.status;
  EXPECT_EQ(index.Find(rn, "4B(c)", {3, 5, 6, 8, 2, 9}), "12");
  EXPECT_EQ(index.Find(rn, "O.W.", {1, 1, 1, 1, 1, 1}), "");
  EXPECT_EQ(ScoreIndex({}).Find(rn, "4B(c)", {3, 5, 6, 8, 2, 9}), "?");
}

}  // namespace
}  // namespace trotix
