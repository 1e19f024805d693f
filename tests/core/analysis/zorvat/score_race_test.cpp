#include "analysis/zorvat/score_race.h"

#include <gtest/gtest.h>

#include "analysis/zorvat/reference_tables.h"
#include "zorvat_fixtures.h"

namespace trotix {
namespace {

using testing::DayOf;
using testing::kExampleLine;
using testing::kZorvatDay;
using testing::RaceBlock;
using testing::RunnerBlock;

// Five runners, four of them starting with A: ID 1 + 1 + 1 + 4 + 1 = 8. "Maiden" alone counts
// for VP (2), and "Dab" (D 4, A 1, B 2) is the fourth runner's VH 7.
std::string ExampleRace() {
  return RaceBlock("Ascot", "14:30", "Maiden Stakes",
                   RunnerBlock("3", "Atlas") + RunnerBlock("1", "ALPHA") +
                       RunnerBlock("5", "Aster") + RunnerBlock("4", "dab") +
                       RunnerBlock("2", "Amber"));
}

std::string TwelveRunnerRace() {
  std::string runners;
  for (int n = 1; n <= 12; ++n)
    runners += RunnerBlock(std::to_string(n), "ace" + std::to_string(n));
  return RaceBlock("Ascot", "15:00", "Sprint", runners);
}

TEST(ScoreRace, WorkedExampleThroughTheRaceDay) {
  const struct {
    const char* what;
    std::string scoreText;
    std::string score;
  } cases[] = {
      {"with a score line", "x>>x>>x>>0>>\n4B(c)>>DF>>IV>>12>>\n", "12"},
      {"score.txt failed", "", "?"},
  };
  for (const auto& c : cases) {
    Workspace ws = DayOf(ExampleRace());
    LoadZorvatTables(ws, kExampleLine + "\n", c.scoreText, "07.03>>3>>\n", kZorvatDay);
    ScoreRace(ws, 0);

    EXPECT_EQ(ws.e1, "Maiden ");
    EXPECT_EQ(ws.e2, "14:30");
    EXPECT_EQ(ws.e3, "Ascot");
    EXPECT_EQ(ws.TAB.RowCount(), 5);  // the race card is refilled on the way
    EXPECT_EQ(ws.u2, "Course: Ascot");
    ASSERT_EQ(ws.RF.RowCount(), 1);
    EXPECT_EQ(ws.RF.Text(0, rf::kDV), "3");
    EXPECT_EQ(ws.RF.Text(0, rf::kFNH), "5");
    EXPECT_EQ(ws.RF.Text(0, rf::kID), "8");
    EXPECT_EQ(ws.RF.Text(0, rf::kVP), "2");
    const Rgb fonts[] = {colors::kRed, colors::kGreen, colors::kNavy, colors::kPurple};
    for (int col = 0; col < 4; ++col) {
      EXPECT_TRUE(ws.RF.At(0, col).bold);
      EXPECT_EQ(ws.RF.At(0, col).fontColor, fonts[col]);
    }

    ASSERT_EQ(ws.H.RowCount(), 5);
    const char* horses[] = {"Alpha", "Amber", "Atlas", "Dab", "Aster"};
    for (int row = 0; row < 5; ++row) {
      EXPECT_EQ(ws.H.Text(row, h::kNo), std::to_string(row + 1));
      EXPECT_EQ(ws.H.Text(row, h::kHorse), horses[row]);
      EXPECT_EQ(ws.H.ColorOf(row, h::kHorse), colors::kWhite);
    }
    EXPECT_EQ(ws.H.Text(3, h::kNH), "4");
    EXPECT_EQ(ws.H.Text(3, h::kVH), "7");
    EXPECT_EQ(ws.H.Text(3, h::kRunnerId), "4");
    EXPECT_EQ(ws.H.Text(3, h::kStatusI), "4B(c)") << c.what;
    EXPECT_EQ(ws.H.Text(3, h::kStatusII), "") << c.what;
    EXPECT_EQ(ws.H.Text(3, h::kScore), c.score) << c.what;
    EXPECT_EQ(ws.H.ColorOf(3, h::kValuesI), colors::kRed);
    // The other runners have no record under any key.
    EXPECT_EQ(ws.H.Text(0, h::kStatusI), "WINER!!!");
    EXPECT_EQ(ws.H.Text(0, h::kScore), "Yes!");
  }
}

TEST(ScoreRace, TwelveRunnersTakeTheListOrder) {
  Workspace ws = DayOf(TwelveRunnerRace());
  LoadZorvatTables(ws, "", "", "", kZorvatDay);
  ScoreRace(ws, 0);
  ASSERT_EQ(ws.H.RowCount(), 12);
  const std::vector<std::string> numbers = {"1", "10", "11", "12", "2", "3",
                                            "4", "5",  "6",  "7",  "8", "9"};
  for (int row = 0; row < 12; ++row) {
    EXPECT_EQ(ws.H.Text(row, h::kNo), std::to_string(row + 1));
    EXPECT_EQ(ws.H.Text(row, h::kHorse), "Ace" + numbers[row]);
    EXPECT_EQ(ws.H.Integer(row, h::kRunnerId), 1);
  }
  EXPECT_EQ(ws.H.Text(1, h::kNH), "2");     // runner 10 is second
  EXPECT_EQ(ws.H.Text(9, h::kNH), "1");     // tenth position folds to 1
  EXPECT_EQ(ws.RF.Text(0, rf::kFNH), "3");  // 12 runners
  EXPECT_EQ(ws.RF.Text(0, rf::kID), "3");   // 12 times A
  EXPECT_EQ(ws.RF.Text(0, rf::kVP), "0");   // "Sprint" has no word followed by a space
  EXPECT_EQ(ws.e1, "");
}

TEST(ScoreRace, RaceNameWordsGiveTheTitleAndVP) {
  const struct {
    std::string name, e1;
    int vp;
  } cases[] = {
      {"Maiden Stakes (Class 5)", "Maiden Stakes ", 9},  // 2 + 6 + 1 for "(Class"
      {"Maiden.Stakes.Handicap", "Maiden Stakes ", 8},
      {"Maiden Stakes", "Maiden ", 2},
      {"Sprint", "", 0},
  };
  for (const auto& c : cases) {
    Workspace ws = DayOf(RaceBlock("Ascot", "13:00", c.name, RunnerBlock("1", "Sea")));
    LoadZorvatTables(ws, "", "", "", kZorvatDay);
    ScoreRace(ws, 0);
    EXPECT_EQ(ws.e1, c.e1) << c.name;
    EXPECT_EQ(ws.RF.Integer(0, rf::kVP), c.vp) << c.name;
  }
}

TEST(ScoreRace, HorseNamesGiveHorseIdAndVH) {
  // Sea 9, Gold 9, Fire 9, King 2: 29 -> 11 -> 2, so the second runner's key is 22.
  Workspace ws = DayOf(RaceBlock("Ascot", "13:00", "Sprint",
                                 RunnerBlock("1", "SEA") + RunnerBlock("2", "sea gold fire KING")));
  const std::string line22 = "22>>6>>6>>6>>6>>6>>6>>0>>6>>6>>6>>6>>6>>6>>0>>";
  LoadZorvatTables(ws, line22, "", "", kZorvatDay);
  ScoreRace(ws, 0);
  ASSERT_EQ(ws.H.RowCount(), 2);
  EXPECT_EQ(ws.H.Text(0, h::kHorse), "Sea");
  EXPECT_EQ(ws.H.Integer(0, h::kRunnerId), 6);
  EXPECT_EQ(ws.H.Integer(0, h::kVH), 9);
  EXPECT_EQ(ws.H.Text(1, h::kHorse), "Sea Gold Fire King");
  EXPECT_EQ(ws.H.Integer(1, h::kVH), 2);
  EXPECT_EQ(ws.H.Integer(1, h::kValuesI), 6);  // found under 22, not marked "U."
  EXPECT_EQ(ws.RF.Integer(0, rf::kID), 3);     // 6 + 6 = 12
}

TEST(ScoreRace, EmptyProcessBaseMakesEveryRunnerAWinner) {
  Workspace ws = DayOf(ExampleRace());
  LoadZorvatTables(ws, "", "4B(c)>>DF>>IV>>12>>\n", "07.03>>3>>\n", kZorvatDay);
  ScoreRace(ws, 0);
  ASSERT_EQ(ws.H.RowCount(), 5);
  for (int row = 0; row < 5; ++row) {
    EXPECT_EQ(ws.H.Text(row, h::kStatusI), "WINER!!!");
    EXPECT_EQ(ws.H.Text(row, h::kStatusII), "WINER!!!");
    EXPECT_EQ(ws.H.Text(row, h::kScore), "Yes!");
    EXPECT_EQ(ws.H.Integer(row, h::kValuesI), 0);
  }
}

TEST(ScoreRace, ADayValueOfTwoDigitsIsReducedOnce) {
  Workspace ws = DayOf(ExampleRace());
  LoadZorvatTables(ws, "", "", "07.03>>39>>\n", kZorvatDay);
  ScoreRace(ws, 0);
  EXPECT_EQ(ws.RF.Text(0, rf::kDV), "12");  // one pass only
  ScoreRace(ws, 0);
  EXPECT_EQ(ws.RF.Text(0, rf::kDV), "3");
}

TEST(ScoreRace, ScoringAgainGivesTheSameGrid) {
  Workspace ws = DayOf(ExampleRace() + TwelveRunnerRace());
  LoadZorvatTables(ws, kExampleLine + "\n37" + kExampleLine.substr(2) + "\n",
                   "4B(c)>>DF>>IV>>12>>\n", "07.03>>3>>\n", kZorvatDay);
  ScoreRace(ws, 0);
  const Table h = ws.H, rf = ws.RF;
  ScoreRace(ws, 0);
  EXPECT_EQ(ws.H, h);
  EXPECT_EQ(ws.RF, rf);
  ScoreRace(ws, 1);
  EXPECT_EQ(ws.H.RowCount(), 12);
  ScoreRace(ws, 0);
  EXPECT_EQ(ws.H, h);
  EXPECT_EQ(ws.RF, rf);
}

TEST(ScoreRace, RaceWithoutRunnersClearsTheRunnerGrid) {
  Workspace ws = DayOf(ExampleRace() + RaceBlock("Ascot", "16:00", "Big Race", ""));
  LoadZorvatTables(ws, kExampleLine, "", "07.03>>3>>\n", kZorvatDay);
  ScoreRace(ws, 0);
  ASSERT_EQ(ws.H.RowCount(), 5);
  ScoreRace(ws, 1);
  EXPECT_EQ(ws.TAB.RowCount(), 0);
  EXPECT_EQ(ws.H.RowCount(), 0);
  EXPECT_EQ(ws.RF.Text(0, rf::kFNH), "0");
  EXPECT_EQ(ws.RF.Text(0, rf::kID), "0");
  EXPECT_EQ(ws.RF.Text(0, rf::kDV), "3");
  EXPECT_EQ(ws.e1, "Big ");
}

TEST(ScoreRace, WorksBeforeTheReferenceTablesAreLoaded) {
  Workspace ws = DayOf(ExampleRace());
  ScoreRace(ws, 0);
  ASSERT_EQ(ws.RF.RowCount(), 1);
  EXPECT_EQ(ws.RF.Text(0, rf::kFNH), "5");
  EXPECT_EQ(ws.H.Text(0, h::kScore), "Yes!");
}

}  // namespace
}  // namespace trotix
