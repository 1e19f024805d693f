#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/best_values.h"
#include "analysis/form_score.h"
#include "analysis/runner_merge.h"
#include "analysis/summa_table.h"
#include "analysis/zorvat_percent.h"
#include "model/columns.h"
#include "model/workspace.h"

namespace trotix {
namespace {

int AddRunner(Workspace& ws, const std::string& name, const std::string& form = "") {
  const int r = ws.TAB.AddRow();
  ws.TAB.At(r, tab::kNumber).text = std::to_string(r + 1);
  ws.TAB.At(r, tab::kName).text = name;
  ws.TAB.At(r, tab::kForm).text = form;
  return r;
}

void AddMove(Workspace& ws, const std::string& name, const std::string& price, double move,
             Rgb color) {
  const int r = ws.LG.AddRow();
  ws.LG.SetText(r, 3, name);
  ws.LG.SetText(r, 4, price);
  ws.LG.SetNumber(r, 6, move);
  ws.LG.SetColor(r, 6, color);
}

void AddExchange(Workspace& ws, const std::string& name, double share, double odd, bool indicator) {
  const int r = ws.T2.AddRow();
  ws.T2.SetText(r, 0, name);
  ws.T2.SetNumber(r, 1, share);
  ws.T2.SetText(r, 2, "12345,00");
  ws.T2.SetNumber(r, 4, odd);
  if (indicator) ws.T2.SetColor(r, 4, colors::kLightGreen);
  ws.T2.SetText(r, 7, "1.234");
  ws.T2.SetText(r, 8, "sel-" + name);
  ws.T2.SetText(r, 11, "2,1");
}

TEST(FormScore, WorkedExamplesAndEdges) {
  struct Case {
    const char* form;
    int score;
  };
  const Case cases[] = {
      {"1-23", 90}, {"12/0", 67}, {"0-P", 5}, {"1020", 52},  // 52.5 goes to the even neighbour
      {"P", 0},     {"", 0},      {"-/", 0},  {"9", 20},    {"1 1", 67},
  };
  for (const auto& c : cases) EXPECT_EQ(FormScore(c.form), c.score) << '"' << c.form << '"';
}

TEST(ZorvatPercent, ShareOfTheBestScore) {
  Workspace ws;
  const std::vector<std::string> scores = {"?", "0", "", "3"};
  for (const auto& s : scores) ws.TAB.At(AddRunner(ws, "H" + s), tab::kZorvat).text = s;
  const int expected[] = {67, 33, 0, 100};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ZorvatPercent(ws.TAB, i), expected[i]) << i;
  EXPECT_EQ(ZorvatValue("Yes!"), 0);
  EXPECT_EQ(ZorvatValue("12"), 12);
}

TEST(ZorvatPercent, NoPositiveScoreGivesZeroForEveryRunner) {
  Workspace ws;
  ws.TAB.At(AddRunner(ws, "A"), tab::kZorvat).text = "Yes!";
  ws.TAB.At(AddRunner(ws, "B"), tab::kZorvat).text = "";
  EXPECT_EQ(ZorvatPercent(ws.TAB, 0), 0);
  EXPECT_EQ(ZorvatPercent(ws.TAB, 1), 0);
}

TEST(BuildSummaTable, ScalpFromTheMovement) {
  struct Case {
    double move;
    int scalp;
  };
  for (const Case c : {Case{-150, 100}, Case{30, -30}, Case{0, 0}, Case{140, -100}}) {
    Workspace ws;
    ws.TAB.SetNumber(AddRunner(ws, "A"), tab::kMove, c.move);
    BuildSummaTable(ws.TAB, ws.R, ws.RR);
    EXPECT_EQ(ws.R.Integer(0, r::kScalp), c.scalp) << c.move;
  }
}

TEST(BuildSummaTable, RecomingRowsByFieldSize) {
  struct Case {
    int runners;
    int rows;
  };
  for (const Case c : {Case{0, 0}, Case{1, 1}, Case{7, 2}, Case{8, 3}, Case{16, 3}, Case{17, 4}}) {
    Workspace ws;
    for (int i = 0; i < c.runners; ++i)
      ws.TAB.SetNumber(AddRunner(ws, "H" + std::to_string(i)), tab::kRank, i);
    BuildSummaTable(ws.TAB, ws.R, ws.RR);
    ASSERT_EQ(ws.RR.RowCount(), c.rows) << c.runners;
    ASSERT_EQ(ws.R.RowCount(), c.runners);
    for (int j = 0; j < c.rows; ++j) {
      // Rank i is the only component, so the highest ranks lead, highest first.
      EXPECT_EQ(ws.RR.Text(j, 0), "H" + std::to_string(c.runners - 1 - j));
      EXPECT_EQ(ws.RR.Number(j, rr::kPower), c.runners - 1 - j);
    }
  }
}

TEST(BuildSummaTable, EveryComponentAndTheSortedSum) {
  Workspace ws;
  const int a = AddRunner(ws, "Alpha");
  const int b = AddRunner(ws, "Bravo");
  Table& t = ws.TAB;
  t.SetNumber(a, tab::kRank, 10);
  t.SetNumber(a, tab::kBf, 40.4);
  t.SetNumber(a, tab::kMove, -20);
  t.SetNumber(a, tab::kRprDeviation, 3.6);
  t.SetColor(a, tab::kInd, colors::kLightGreen);
  t.SetImage(a, tab::kTips, 1);
  t.SetNumber(a, tab::kFormRank, 90);
  t.At(a, tab::kZorvat).text = "3";
  t.SetNumber(b, tab::kRank, -10);
  t.SetColor(b, tab::kInd, colors::kWhite);
  t.SetImage(b, tab::kTips, 2);
  t.SetNumber(b, tab::kFormRank, 50);
  BuildSummaTable(ws.TAB, ws.R, ws.RR);

  ASSERT_EQ(ws.R.RowCount(), 2);
  EXPECT_EQ(ws.R.Text(0, 0), "Bravo");  // lowest sum first
  EXPECT_EQ(ws.R.Integer(0, r::kSumma), 40);
  EXPECT_EQ(ws.R.Integer(0, r::kIndicator), 0);
  EXPECT_EQ(ws.R.Integer(0, r::kTips1), 0);
  const std::vector<int> alpha = {10, 40, 20, 4, 100, 100, 90, 100};
  int sum = 0;
  for (int c = r::kRank; c <= r::kZorvat; ++c) {
    EXPECT_EQ(ws.R.Integer(1, c), alpha[c - 1]) << c;
    sum += alpha[c - 1];
  }
  EXPECT_EQ(ws.R.Integer(1, r::kSumma), sum);
  for (int r = 0; r < 2; ++r) {
    EXPECT_TRUE(ws.R.At(r, r::kSumma).bold);
    EXPECT_EQ(ws.R.ColorOf(r, r::kSumma), colors::kBlue);
  }
  EXPECT_EQ(ws.RR.Text(0, 0), "Alpha");
  EXPECT_EQ(ws.RR.Text(1, 0), "Bravo");
}

TEST(MergeRunnerData, ExchangePriceReplacesTheMovesPrice) {
  Workspace ws;
  AddRunner(ws, "Sea Bird", "1-23");
  AddMove(ws, "SEA BIRD", "4.5", -40, colors::kMoveGreen);
  AddExchange(ws, "sea bird", 12.5, 3.75, true);
  MergeRunnerData(ws, true);
  const Table& t = ws.TAB;
  EXPECT_DOUBLE_EQ(t.Number(0, tab::kKf), 3.75);
  EXPECT_EQ(t.Integer(0, tab::kMove), -40);
  EXPECT_EQ(t.ColorOf(0, tab::kMove), colors::kMoveGreen);
  EXPECT_DOUBLE_EQ(t.Number(0, tab::kBf), 12.5);
  EXPECT_EQ(t.Text(0, tab::kMarketId), "1.234");
  EXPECT_EQ(t.Text(0, tab::kSelectionId), "sel-sea bird");
  EXPECT_EQ(t.Text(0, tab::kPlacePrice), "2,1");
  EXPECT_EQ(t.ColorOf(0, tab::kInd), colors::kLightGreen);
  EXPECT_EQ(t.Integer(0, tab::kFormRank), 90);
}

TEST(MergeRunnerData, MovesPriceAndItsFallbacks) {
  struct Case {
    const char* price;
    bool realOdds;
    const char* kf;
  };
  const Case cases[] = {{"4.5", false, "4,5"},
                        {"4.5", true, "4,5"},
                        {"evens", false, "1,01"},
                        {"", false, "1,01"},
                        {"evens", true, "0"}};
  for (const auto& c : cases) {
    Workspace ws;
    AddRunner(ws, "A");
    AddMove(ws, "A", c.price, 10, colors::kLightRed);
    MergeRunnerData(ws, c.realOdds);
    EXPECT_EQ(ws.TAB.Text(0, tab::kKf), c.kf) << c.price << ' ' << c.realOdds;
  }
}

TEST(MergeRunnerData, LastMatchingRowWinsAndOthersKeepDefaults) {
  Workspace ws;
  AddRunner(ws, "A");
  AddRunner(ws, "OBrien");
  for (int place : {1, 3}) {
    const int r = ws.TIPS.AddRow();
    ws.TIPS.SetText(r, 3, "a");
    ws.TIPS.SetImage(r, 4, place);
  }
  // The race card drops every "'", so the feeds' spelling finds nothing.
  const int tip = ws.TIPS.AddRow();
  ws.TIPS.SetText(tip, 3, "O'Brien");
  ws.TIPS.SetImage(tip, 4, 1);
  AddMove(ws, "O'Brien", "2.0", -50, colors::kMoveGreen);
  AddExchange(ws, "O'Brien", 50, 2, true);
  for (const char* score : {"5", "?"}) {
    const int h = ws.H.AddRow();
    ws.H.SetText(h, 4, "A");
    ws.H.SetText(h, 21, score);
  }
  MergeRunnerData(ws, false);
  EXPECT_EQ(ws.TAB.Image(0, tab::kTips), 3);
  EXPECT_EQ(ws.TAB.Text(0, tab::kZorvat), "?");
  const Table& t = ws.TAB;
  EXPECT_EQ(t.Image(1, tab::kTips), 0);
  EXPECT_EQ(t.Number(1, tab::kKf), 0);
  EXPECT_EQ(t.Number(1, tab::kMove), 0);
  EXPECT_FALSE(t.At(1, tab::kMove).color.has_value());
  EXPECT_EQ(t.Number(1, tab::kBf), 0);
  EXPECT_FALSE(t.At(1, tab::kInd).color.has_value());
  EXPECT_EQ(t.Text(1, tab::kZorvat), "");
}

TEST(MergeRunnerData, ExchangeRunnerWithoutIndicatorIsWhite) {
  Workspace ws;
  AddRunner(ws, "A");
  AddExchange(ws, "A", 10, 6, false);
  MergeRunnerData(ws, true);
  ASSERT_TRUE(ws.TAB.At(0, tab::kInd).color.has_value());
  EXPECT_EQ(ws.TAB.ColorOf(0, tab::kInd), colors::kWhite);
}

TEST(ShowExchangeTotal, TheRaceOnScreensTotalOrTheBareCaption) {
  Workspace ws;
  AddExchange(ws, "A", 10, 6, false);
  ShowExchangeTotal(ws, /*ownRace=*/true);
  EXPECT_EQ(ws.u8, "Summ BF: 12345,00 $");
  ShowExchangeTotal(ws, /*ownRace=*/false);  // another race's money is never shown
  EXPECT_EQ(ws.u8, "Summ Betfair:");
  ws.T2.ClearRows();
  ShowExchangeTotal(ws, /*ownRace=*/true);
  EXPECT_EQ(ws.u8, "Summ Betfair:");
}

TEST(MarkBestValues, BestOfEachColumn) {
  Workspace ws;
  for (int i = 0; i < 3; ++i) AddRunner(ws, "H" + std::to_string(i));
  Table& t = ws.TAB;
  const double kf[] = {3.5, 2.25, 2.25};
  const double move[] = {-10, -30.4, 5};
  const double bf[] = {20, 60, 19.6};
  const double fr[] = {90, 90, 10};
  for (int i = 0; i < 3; ++i) {
    t.SetNumber(i, tab::kKf, kf[i]);
    t.SetNumber(i, tab::kMove, move[i]);
    t.SetNumber(i, tab::kBf, bf[i]);
    t.SetNumber(i, tab::kFormRank, fr[i]);
  }
  MarkBestValues(t);
  const bool kfBold[] = {false, true, true};
  const bool moveBold[] = {false, true, false};
  const bool bfBold[] = {false, true, false};
  const bool frBold[] = {true, true, false};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(t.At(i, tab::kKf).bold, kfBold[i]) << i;
    EXPECT_EQ(t.At(i, tab::kMove).bold, moveBold[i]) << i;
    EXPECT_EQ(t.At(i, tab::kBf).bold, bfBold[i]) << i;
    EXPECT_EQ(t.At(i, tab::kFormRank).bold, frBold[i]) << i;
    // Never-filled columns hold 0 everywhere, which is their start value.
    EXPECT_TRUE(t.At(i, tab::kPercent).bold);
    EXPECT_FALSE(t.At(i, tab::kRank).bold);
  }
}

TEST(MarkBestValues, StartValuesMarkEveryCellHoldingThem) {
  Workspace ws;
  for (int i = 0; i < 4; ++i) ws.TAB.SetNumber(AddRunner(ws, "H"), tab::kKf, 5000);
  ws.TAB.SetNumber(3, tab::kMove, 12);
  MarkBestValues(ws.TAB);
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(ws.TAB.At(i, tab::kKf).bold) << i;
    EXPECT_EQ(ws.TAB.At(i, tab::kMove).bold, i != 3) << i;  // no shortening: the zeros
  }
}

TEST(Analysis, RaceInNoOtherTable) {
  Workspace ws;
  const int a = AddRunner(ws, "Alpha", "1-1");
  const int b = AddRunner(ws, "Bravo", "5");
  ws.TAB.SetNumber(a, tab::kRank, 7);
  ws.TAB.SetNumber(a, tab::kRprDeviation, 2.4);
  ws.TAB.SetNumber(b, tab::kRank, -7);
  ws.TAB.SetNumber(b, tab::kRprDeviation, -2.4);
  MergeRunnerData(ws, false);
  MarkBestValues(ws.TAB);
  BuildSummaTable(ws.TAB, ws.R, ws.RR);
  ASSERT_EQ(ws.R.RowCount(), 2);
  EXPECT_EQ(ws.R.Text(0, 0), "Bravo");
  EXPECT_EQ(ws.R.Text(1, 0), "Alpha");
  const int expected[2][9] = {{-7, 0, 0, -2, 0, 0, 60, 0, 51}, {7, 0, 0, 2, 0, 0, 100, 0, 109}};
  for (int r = 0; r < 2; ++r)
    for (int c = 1; c <= 9; ++c) EXPECT_EQ(ws.R.Integer(r, c), expected[r][c - 1]) << r << c;
}

}  // namespace
}  // namespace trotix
