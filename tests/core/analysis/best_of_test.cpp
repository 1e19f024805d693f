#include "analysis/best_of.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/summa_table.h"
#include "model/columns.h"

namespace trotix {
namespace {

struct Runner {
  std::string name;
  bool topRated = false;
  double kf = 0;
  std::string place;
};

// Fills TAB and RR by hand as an analysis of race k would leave them.
void Race(Workspace& ws, const std::vector<Runner>& runners, const std::vector<std::string>& rr) {
  ws.TAB.ClearRows();
  for (const auto& r : runners) {
    const int i = ws.TAB.AddRow();
    ws.TAB.At(i, tab::kName).text = r.name;
    ws.TAB.SetNumber(i, tab::kKf, r.kf);
    ws.TAB.At(i, tab::kPlacePrice).text = r.place;
    if (r.topRated) ws.TAB.SetColor(i, tab::kRank, colors::kLime);
  }
  ws.RR.ClearRows();
  for (const auto& name : rr) ws.RR.At(ws.RR.AddRow(), rr::kName).text = name;
}

Workspace TwoRaces() {
  Workspace ws;
  for (const char* time : {"13:30", "14:05"}) {
    const int r = ws.MM.AddRow();
    ws.MM.SetText(r, 1, time);
    ws.MM.SetText(r, 2, "Ascot");
  }
  return ws;
}

std::vector<std::string> RepRow(const Workspace& ws, int r) {
  std::vector<std::string> out;
  for (int c = 0; c < 5; ++c) out.push_back(ws.REP.Text(r, c));
  return out;
}

TEST(BestOf, TopRatedRunnerNotRecommended) {
  Workspace ws = TwoRaces();
  Race(ws, {{"Alpha", true, 4.5, "1,8"}, {"Bravo", false, 2.5, "1,3"}, {"Charlie", false, 3, ""}},
       {"Bravo", "Charlie"});
  BestRankRows(ws, 1);
  EXPECT_EQ(ws.REP.RowCount(), 0);
  BestRecomingRows(ws, 1);
  ASSERT_EQ(ws.REP.RowCount(), 1);
  EXPECT_EQ(RepRow(ws, 0),
            (std::vector<std::string>{"14:05", "Ascot", "Bravo", "2,5", "Best Recoming"}));
}

TEST(BestOf, SameRunnerByBothWithTheirOddsSources) {
  Workspace ws = TwoRaces();
  Race(ws, {{"Bravo", false, 6, "2"}, {"Alpha", true, 4.5, "1,8"}}, {"Alpha", "Bravo"});
  BestRankRows(ws, 0);
  BestRecomingRows(ws, 0);
  ASSERT_EQ(ws.REP.RowCount(), 2);
  EXPECT_EQ(RepRow(ws, 0),
            (std::vector<std::string>{"13:30", "Ascot", "Alpha", "1,8", "Best Rank"}));
  EXPECT_EQ(RepRow(ws, 1),
            (std::vector<std::string>{"13:30", "Ascot", "Alpha", "4,5", "Best Recoming"}));
}

// A non-runner that would lead on every count stays in R, greyed, but no list or run picks it.
TEST(BestOf, NonRunnerIsNeverRecommended) {
  Workspace ws = TwoRaces();
  const struct {
    const char* number;
    const char* name;
    int rank;
  } runners[] = {
      {"NR", "Gone", 300}, {"2", "Alpha", 200}, {"3", "Bravo", 100}, {"4", "Charlie", 0}};
  for (const auto& r : runners) {
    const int i = ws.TAB.AddRow();
    ws.TAB.At(i, tab::kNumber).text = r.number;
    ws.TAB.At(i, tab::kName).text = r.name;
    ws.TAB.SetNumber(i, tab::kRank, r.rank);
    ws.TAB.SetNumber(i, tab::kKf, 3);
  }
  ws.TAB.SetColor(0, tab::kRank, colors::kLime);
  BuildSummaTable(ws.TAB, ws.R, ws.RR);

  ASSERT_EQ(ws.R.RowCount(), 4);
  const int top = ws.R.RowCount() - 1;
  EXPECT_EQ(ws.R.Text(top, r::kName), "Gone");
  EXPECT_EQ(ws.R.At(top, r::kName).hint, "NR");
  EXPECT_TRUE(ws.R.At(top, r::kSumma).fontColor.has_value());
  ASSERT_EQ(ws.RR.RowCount(), 2);  // the next runners take its place
  EXPECT_EQ(ws.RR.Text(0, rr::kName), "Alpha");
  EXPECT_EQ(ws.RR.Text(1, rr::kName), "Bravo");

  ws.RR.At(0, rr::kName).text = "Gone";  // even when a list names it
  BestRankRows(ws, 0);
  BestRecomingRows(ws, 0);
  EXPECT_EQ(ws.REP.RowCount(), 0);
}

TEST(BestOf, NamesCompareExactly) {
  Workspace ws = TwoRaces();
  Race(ws, {{"Alpha", true, 4.5, "1,8"}}, {"ALPHA", "Alpha "});
  BestRankRows(ws, 0);
  BestRecomingRows(ws, 0);
  EXPECT_EQ(ws.REP.RowCount(), 0);
  Race(ws, {}, {});
  BestRecomingRows(ws, 0);  // an empty short list picks nobody
  EXPECT_EQ(ws.REP.RowCount(), 0);
}

// Stands in for the analysis: race k's card as the test wrote it down.
RaceAnalysis Cards(std::vector<std::vector<Runner>> cards, std::vector<std::vector<std::string>> rr,
                   std::vector<int>* analysed = nullptr) {
  return [=](Workspace& w, int k) {
    if (analysed) analysed->push_back(k);
    Race(w, cards.at(k), rr.at(k));
  };
}

TEST(RunBestOf, RunningTwiceAppendsTwice) {
  Workspace ws = TwoRaces();
  const auto analyse =
      Cards({{{"Alpha", true, 3, "1,5"}}, {{"Bravo", true, 5, "2,2"}, {"Zed", false, 0, ""}}},
            {{"Alpha"}, {"Zed", "Bravo"}});
  EXPECT_EQ(RunBestOf(ws, BestOfSystem::kBestRank, analyse), 2);
  EXPECT_EQ(RunBestOf(ws, BestOfSystem::kBestRank, analyse), 2);
  ASSERT_EQ(ws.REP.RowCount(), 4);
  const std::vector<std::string> names = {"Alpha", "Bravo", "Alpha", "Bravo"};
  const std::vector<std::string> times = {"13:30", "14:05", "13:30", "14:05"};
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(ws.REP.Text(r, 2), names[r]);
    EXPECT_EQ(ws.REP.Text(r, 0), times[r]);
    EXPECT_EQ(ws.REP.Text(r, 4), "Best Rank");
  }
}

TEST(RunBestOf, HooksSeeEveryRaceAndCancelKeepsRows) {
  Workspace ws = TwoRaces();
  std::vector<int> analysed;
  const auto analyse = Cards({{{"Alpha", true, 3, ""}}, {{"Bravo", true, 5, ""}}},
                             {{"Alpha"}, {"Bravo"}}, &analysed);
  std::vector<int> before, after;
  BestOfHooks hooks;
  hooks.beforeRace = [&](int k, int count) {
    EXPECT_EQ(count, 2);
    before.push_back(k);
    return k < 1;  // Cancel before the second race
  };
  hooks.afterRace = [&](int k, int) { after.push_back(k); };
  EXPECT_EQ(RunBestOf(ws, BestOfSystem::kBestRecoming, analyse, hooks), 1);
  EXPECT_EQ(before, (std::vector<int>{0, 1}));
  EXPECT_EQ(after, (std::vector<int>{0}));
  EXPECT_EQ(analysed, (std::vector<int>{0}));
  ASSERT_EQ(ws.REP.RowCount(), 1);
  EXPECT_EQ(ws.REP.Text(0, 3), "3");
}

TEST(RunBestOf, ErrorEndsTheRunAndRowsStay) {
  Workspace ws = TwoRaces();
  const RaceAnalysis analyse = [](Workspace& w, int k) {
    if (k == 1) throw std::runtime_error("race card broken");
    Race(w, {{"Alpha", true, 3, ""}}, {"Alpha"});
  };
  EXPECT_THROW(RunBestOf(ws, BestOfSystem::kBestRank, analyse), std::runtime_error);
  EXPECT_EQ(ws.REP.RowCount(), 1);
}

TEST(RunBestOf, EmptyDayAnalysesNothing) {
  Workspace ws;
  int calls = 0;
  EXPECT_EQ(RunBestOf(ws, BestOfSystem::kBestRank, [&](Workspace&, int) { ++calls; }), 0);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(ws.REP.RowCount(), 0);
}

}  // namespace
}  // namespace trotix
