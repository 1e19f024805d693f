#include "exchange/indicator_race.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runner_pages.h"

namespace trotix {
namespace {

using testing::BatchFetcher;
using testing::ClosedPort;
using testing::RunnerPageHtml;
using testing::RunnerPageServer;

const std::string kPound = "\xC2\xA3";

struct RunnerFixture {
  std::string name;
  std::string price;  // last matched price as the page shows it
  std::string startPrice = "";
  std::string onEvent = kPound + "10,000";
  std::string volume = kPound + "1,000";
  std::string placePrice = "1.5";
  std::string placeOnEvent = kPound + "2,000";
  std::string placeVolume = kPound + "200";
  bool served = true;
};

class IndicatorRaceTest : public ::testing::Test {
 protected:
  Hosts ExchangeOnLoopback() {
    Hosts h;
    h.exchangeSite = server_.Host();
    return h;
  }

  // Lines of one race in IndicatorList, their pages on the server and the race's row of T1.
  int AddRace(const std::string& time, const std::string& course,
              const std::vector<RunnerFixture>& runners) {
    const std::string win = std::to_string(nextMarket_++);
    const std::string place = std::to_string(nextMarket_++);
    for (const auto& r : runners) {
      const std::string sel = std::to_string(nextSelection_++);
      ws_.IndicatorList.push_back(time + ">>" + course + ">>" + r.name + ">>" + win + ">>" + sel +
                                  ">>" + place + ">>");
      if (!r.served) continue;
      server_.Put(win, sel, RunnerPageHtml(r.onEvent, r.volume, r.price, r.startPrice));
      server_.Put(place, sel, RunnerPageHtml(r.placeOnEvent, r.placeVolume, r.placePrice, ""));
    }
    return AddT1Row(time, course);
  }

  int AddT1Row(const std::string& time, const std::string& course) {
    const int row = ws_.T1.AddRow();
    ws_.T1.SetText(row, 1, time);
    ws_.T1.SetText(row, 2, course);
    return row;
  }

  // A race whose runners differ only in their last matched price.
  int AddPricedRace(const std::vector<std::string>& prices) {
    std::vector<RunnerFixture> runners;
    for (std::size_t i = 0; i < prices.size(); ++i)
      runners.push_back({.name = "Runner " + std::to_string(i + 1), .price = prices[i]});
    return AddRace("14:30", "Ascot", runners);
  }

  void Fill(int row) { FillIndicatorRace(ws_, row, urls_, fetcher_.Fetcher()); }

  const Table& T2() const { return ws_.T2; }
  std::vector<std::string> Names() const {
    std::vector<std::string> out;
    for (int r = 0; r < T2().RowCount(); ++r) out.push_back(T2().Text(r, t2::kName));
    return out;
  }
  std::vector<double> Column(int col) const {
    std::vector<double> out;
    for (int r = 0; r < T2().RowCount(); ++r) out.push_back(T2().Number(r, col));
    return out;
  }
  // Every cell of columns 0-6 of the row carries `c`.
  bool RowColoured(int row, Rgb c) const {
    for (int col = t2::kName; col <= t2::kSt2; ++col)
      if (T2().At(row, col).color != c) return false;
    return true;
  }
  bool NothingColoured() const {
    for (int r = 0; r < T2().RowCount(); ++r)
      for (int col = 0; col < T2().ColumnCount(); ++col)
        if (T2().At(r, col).color) return false;
    return true;
  }

  RunnerPageServer server_;
  BatchFetcher fetcher_;
  Workspace ws_;
  VendorUrls urls_{ExchangeOnLoopback()};
  int nextMarket_ = 170001;
  int nextSelection_ = 5001;
};

TEST_F(IndicatorRaceTest, WorkedExampleHighlightsTheShortestThree) {
  const int row = AddRace("14:30", "Ascot",
                          {{.name = "Seven", .price = "7", .startPrice = "8"},
                           {.name = "Unpriced", .price = ""},
                           {.name = "Four", .price = "4", .startPrice = "5"},
                           {.name = "Five", .price = "5", .startPrice = "4"}});
  Fill(row);

  EXPECT_EQ(Names(), (std::vector<std::string>{"Four", "Five", "Seven", "Unpriced"}));
  EXPECT_EQ(Column(t2::kOdd), (std::vector<double>{4, 5, 7, 5000}));
  EXPECT_EQ(Column(t2::kSt1), (std::vector<double>{61, 49, 35, 0}));
  EXPECT_EQ(ws_.ind1, "1,45");
  // 5, 7 and 5000 behind them: p = 20, 14.29, 0.02.
  EXPECT_EQ(Column(t2::kSt2), (std::vector<double>{0, 30, 22, 0}));
  EXPECT_EQ(ws_.ind2, "0,52");

  for (int r = 0; r < 4; ++r) {
    EXPECT_TRUE(RowColoured(r, colors::kLightGreen)) << r;
    EXPECT_EQ(T2().At(r, t2::kSt1).bold, r <= 2) << r;
    EXPECT_EQ(T2().At(r, t2::kSt2).bold, r >= 1) << r;
    for (int col = t2::kStartOdd; col <= t2::kPlaceSum; ++col)
      EXPECT_FALSE(T2().At(r, col).color) << r << ' ' << col;
  }
  EXPECT_EQ(ws_.spSkinLabel3, "14:30");
  EXPECT_EQ(ws_.spSkinLabel4, "Ascot");
  EXPECT_EQ(colors::kLightGreen.Value(), 12058551u);
}

// The first of a strong group of three (a fourth runner is needed for any highlight), with the
// amounts of its win page as given.
TEST_F(IndicatorRaceTest, AmountsThatCannotBeReadGiveNoShareAndNoCredit) {
  struct Case {
    std::string onEvent, volume;
    double share;
    bool credit;
  };
  const Case cases[] = {
      {kPound + "10,000", kPound + "1,000", 10, true},
      {kPound + "0", kPound + "0", 0, true},  // nothing matched yet
      {"N/A", "N/A", 0, false},
      {kPound + "100,000.50", kPound + "100,000.50", 0, false},
      {"100 000", "100 000", 0, false},
      {kPound + "100", kPound + "5,0,0,0", 0, false},
      {kPound + "100", kPound + ",1,,0,0,", 0, false},
      {kPound + "100", kPound + "500", 0, false},  // more than the whole event
      {kPound + "0", kPound + "5", 0, false},
  };
  int hour = 10;
  for (const auto& c : cases) {
    const std::string time = std::to_string(hour++) + ":00";
    Fill(AddRace(time, "Ascot",
                 {{.name = "Four", .price = "4", .onEvent = c.onEvent, .volume = c.volume},
                  {.name = "Five", .price = "5"},
                  {.name = "Seven", .price = "7"},
                  {.name = "Unpriced", .price = ""}}));
    ASSERT_EQ(Names(), (std::vector<std::string>{"Four", "Five", "Seven", "Unpriced"})) << time;
    EXPECT_EQ(T2().Number(0, t2::kShare), c.share) << c.onEvent << " " << c.volume;
    EXPECT_EQ(RowColoured(0, colors::kLightGreen), c.credit) << c.onEvent << " " << c.volume;
    EXPECT_EQ(T2().At(0, t2::kSt1).bold, c.credit) << c.onEvent << " " << c.volume;
    EXPECT_TRUE(RowColoured(1, colors::kLightGreen)) << c.onEvent << " " << c.volume;
  }
}

TEST_F(IndicatorRaceTest, WorkedExampleWithoutHighlight) {
  Fill(AddPricedRace({"3", "4", "6", "10"}));
  EXPECT_EQ(Column(t2::kSt1), (std::vector<double>{133, 100, 67, 0}));
  EXPECT_EQ(ws_.ind1, "3,00");
  // 4, 6 and 10 make a strong second group.
  EXPECT_EQ(ws_.ind2, "1,07");
  EXPECT_TRUE(RowColoured(0, colors::kWhite));
  for (int r = 1; r < 4; ++r) EXPECT_TRUE(RowColoured(r, colors::kLightGreen)) << r;
  for (int r = 0; r < 4; ++r) EXPECT_FALSE(T2().At(r, t2::kSt1).bold) << r;
  for (int r = 1; r < 4; ++r) EXPECT_TRUE(T2().At(r, t2::kSt2).bold) << r;
}

TEST_F(IndicatorRaceTest, NoGroupStrongEnough) {
  Fill(AddPricedRace({"3", "3", "3.5", "4"}));
  EXPECT_EQ(ws_.ind1, "20,00");
  EXPECT_EQ(ws_.ind2, "6,64");
  for (int r = 0; r < 4; ++r) {
    EXPECT_TRUE(RowColoured(r, colors::kWhite)) << r;
    EXPECT_FALSE(T2().At(r, t2::kSt1).bold);
    EXPECT_FALSE(T2().At(r, t2::kSt2).bold);
  }
}

TEST_F(IndicatorRaceTest, RowsOneAndTwoCarryBothHighlights) {
  Fill(AddPricedRace({"8", "7", "5", "4"}));
  EXPECT_EQ(Column(t2::kOdd), (std::vector<double>{4, 5, 7, 8}));
  EXPECT_EQ(Column(t2::kSt2), (std::vector<double>{0, 38, 27, 23}));
  EXPECT_EQ(ws_.ind2, "0,88");
  for (int r = 1; r <= 2; ++r) {
    EXPECT_TRUE(RowColoured(r, colors::kLightGreen));
    EXPECT_TRUE(T2().At(r, t2::kSt1).bold);
    EXPECT_TRUE(T2().At(r, t2::kSt2).bold);
  }
}

struct ThresholdCase {
  std::vector<std::string> prices;
  const char* ind1;
  bool leaderHighlighted;
};

TEST_F(IndicatorRaceTest, HighlightsOnlyStrictlyBetweenZeroAnd231) {
  const ThresholdCase cases[] = {
      {{"2.5", "4", "21", "26"}, "2,31", false},
      {{"3", "5.5", "5.5", "26"}, "2,30", true},
      {{"", "", "", ""}, "0,00", false},
      {{"2", "2.5", "3", "3.5"}, "-5,28", false},  // p values over 100
  };
  for (const auto& c : cases) {
    ws_.IndicatorList.clear();
    ws_.T1.ClearRows();
    Fill(AddPricedRace(c.prices));
    EXPECT_EQ(ws_.ind1, c.ind1);
    EXPECT_TRUE(RowColoured(0, c.leaderHighlighted ? colors::kLightGreen : colors::kWhite))
        << c.ind1;
    EXPECT_EQ(T2().At(0, t2::kSt1).bold, c.leaderHighlighted) << c.ind1;
  }
}

TEST_F(IndicatorRaceTest, OverroundAboveHundredGivesNegativeStrength) {
  Fill(AddPricedRace({"3.5", "3", "2.5", "2"}));
  EXPECT_EQ(Column(t2::kSt1), (std::vector<double>{-214, -171, -143, 0}));
  EXPECT_EQ(ws_.ind1, "-5,28");
  EXPECT_EQ(ws_.ind2.front(), '-');
  for (int r = 0; r < 4; ++r) EXPECT_TRUE(RowColoured(r, colors::kWhite)) << r;
}

TEST_F(IndicatorRaceTest, BookOfExactlyHundredLeavesStrengthZeroAndGoesOn) {
  Fill(AddPricedRace({"2", "4", "4", "10"}));
  EXPECT_EQ(Column(t2::kSt1), (std::vector<double>{0, 0, 0, 0}));
  EXPECT_EQ(ws_.ind1, "0,00");
  // 4, 4 and 10: p = 25, 25, 10.
  EXPECT_EQ(Column(t2::kSt2), (std::vector<double>{0, 62, 62, 25}));
  EXPECT_EQ(ws_.ind2, "1,49");
  EXPECT_TRUE(RowColoured(0, colors::kWhite));
  for (int r = 1; r < 4; ++r) EXPECT_TRUE(RowColoured(r, colors::kLightGreen));
  EXPECT_EQ(T2().Text(0, t2::kShift), "-249900");
}

TEST_F(IndicatorRaceTest, SmallRacesAreFilledAndSortedOnly) {
  for (const auto& prices : std::vector<std::vector<std::string>>{{"6"}, {"6", "2"}}) {
    ws_ = Workspace();
    ws_.ind1 = "7,77";
    ws_.ind2 = "8,88";
    Fill(AddPricedRace(prices));
    ASSERT_EQ(T2().RowCount(), static_cast<int>(prices.size()));
    EXPECT_EQ(T2().Number(0, t2::kOdd), prices.size() == 1 ? 6 : 2);
    EXPECT_EQ(Column(t2::kSt1), std::vector<double>(prices.size(), 0));
    EXPECT_EQ(Column(t2::kSt2), std::vector<double>(prices.size(), 0));
    for (int r = 0; r < T2().RowCount(); ++r) EXPECT_EQ(T2().Text(r, t2::kShift), "");
    EXPECT_TRUE(NothingColoured());
    EXPECT_EQ(ws_.ind1, "7,77");
    EXPECT_EQ(ws_.ind2, "8,88");
  }
}

TEST_F(IndicatorRaceTest, ThreeRunnersSetStrengthOnly) {
  ws_.ind2 = "8,88";
  Fill(AddPricedRace({"7", "5", "4"}));
  EXPECT_EQ(Column(t2::kSt1), (std::vector<double>{61, 49, 35}));
  EXPECT_EQ(ws_.ind1, "1,45");
  EXPECT_EQ(Column(t2::kSt2), (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(ws_.ind2, "8,88");
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(T2().Text(r, t2::kShift), "");
    EXPECT_FALSE(T2().At(r, t2::kSt1).bold);
  }
  EXPECT_TRUE(NothingColoured());
}

TEST_F(IndicatorRaceTest, FillsEveryColumnFromBothPages) {
  const int row = AddRace(
      "15:05", "Kempton",
      {{.name = "Alpha",
        .price = "4.5",
        .startPrice = "5.0",
        .onEvent = kPound + "12,345",
        .volume = kPound + "2,345",
        .placePrice = "1.8",
        .placeOnEvent = kPound + "3,210",
        .placeVolume = kPound + "456"},
       {.name = "Bravo",
        .price = "1,000.00",
        .startPrice = "1,000.00",
        .onEvent = kPound + "1,000",
        .volume = kPound + "25"},
       {.name = "Charlie",
        .price = "9",
        .startPrice = "7.2",
        .onEvent = kPound + "1,000",
        .volume = kPound + "35"},
       {.name = "Delta", .price = "12", .onEvent = kPound + "1,000.50", .volume = kPound + "50"},
       {.name = "Echo", .price = "15", .volume = "0"}});
  Fill(row);
  ASSERT_EQ(Names(), (std::vector<std::string>{"Alpha", "Charlie", "Delta", "Echo", "Bravo"}));
  const auto line = [&](int r) {
    std::string s;
    for (int c = 0; c < T2().ColumnCount(); ++c) {
      if (c == t2::kMarketId || c == t2::kSelectionId || c == t2::kSt1 || c == t2::kSt2) continue;
      s += T2().Text(r, c) + "|";
    }
    return s;
  };
  EXPECT_EQ(line(0), "Alpha|19|12345|2345|4,5|5,00|-11|1,8|456/3210|");
  // b / a: 35 / 1000 -> 3.5 -> 4; 25 / 1000 -> 2.5 -> 2 (halves to even).
  EXPECT_EQ(line(1), "Charlie|4|1000|35|9|7,20|20|1,5|200/2000|");
  // An amount with a decimal point cannot be read: no share, and it stays as written.
  EXPECT_EQ(line(2), "Delta|0|1,000.50|50|12|5000,00|-41567|1,5|200/2000|");
  EXPECT_EQ(line(3), "Echo|0|10000|0|15|5000,00|-33233|1,5|200/2000|");
  EXPECT_EQ(line(4), "Bravo|2|1000|25|1000|5000,00|-400|1,5|200/2000|");
  EXPECT_EQ(T2().Text(0, t2::kMarketId), "170001");
  EXPECT_EQ(T2().Text(0, t2::kSelectionId), "5001");
  EXPECT_TRUE(T2().Columns()[t2::kMarketId].hidden);
}

TEST_F(IndicatorRaceTest, AsksForEveryPageInOneBatch) {
  AddPricedRace({"2", "3"});
  const int row =
      AddRace("16:00", "York", {{.name = "A", .price = "4"}, {.name = "B", .price = "3"}});
  std::vector<std::string> asked;
  FillIndicatorRace(ws_, row, urls_, [&](const std::vector<std::string>& u) {
    asked.insert(asked.end(), u.begin(), u.end());
    return fetcher_.Fetcher()(u);
  });
  EXPECT_EQ(fetcher_.batches, 1);
  EXPECT_EQ(asked, (std::vector<std::string>{
                       urls_.RunnerPage("170003", "5003"), urls_.RunnerPage("170004", "5003"),
                       urls_.RunnerPage("170003", "5004"), urls_.RunnerPage("170004", "5004")}));
  EXPECT_EQ(server_.Requests(), 4);
  EXPECT_EQ(Names(), (std::vector<std::string>{"B", "A"}));
}

TEST_F(IndicatorRaceTest, EqualPricesKeepTheirListOrder) {
  Fill(AddRace("13:10", "Ayr",
               {{.name = "First", .price = "5"},
                {.name = "Second", .price = "3"},
                {.name = "Third", .price = "5"},
                {.name = "Fourth", .price = ""},
                {.name = "Fifth", .price = "0"}}));
  EXPECT_EQ(Names(), (std::vector<std::string>{"Second", "First", "Third", "Fourth", "Fifth"}));
}

TEST_F(IndicatorRaceTest, EmptyIndicatorListChangesNothing) {
  const int row = AddT1Row("14:30", "Ascot");
  ws_.T2.AddRow();
  ws_.T2.SetText(0, t2::kName, "Left over");
  ws_.spSkinLabel3 = "old time";
  ws_.spSkinLabel4 = "old course";
  ws_.bfnumber = "999";
  const Table before = ws_.T2;
  const auto labels = ws_.Labels();
  Fill(row);
  EXPECT_EQ(ws_.T2, before);
  EXPECT_EQ(ws_.Labels(), labels);
  EXPECT_EQ(fetcher_.batches, 0);
  EXPECT_EQ(server_.Requests(), 0);
}

TEST_F(IndicatorRaceTest, BfnumberIsTheLastLinesWinMarket) {
  ws_.IndicatorList = {"14:30>>Ascot>>A>>111>>1>>211>>", "15:00>>York>>X>>300>>9>>400>>",
                       "14:30>>Ascot>>B>>112>>2>>212>>"};
  const int ascot = AddT1Row("14:30", "Ascot");
  const int none = AddT1Row("20:00", "Nowhere");
  Fill(ascot);
  EXPECT_EQ(ws_.bfnumber, "112");
  EXPECT_EQ(T2().RowCount(), 2);

  Fill(none);
  EXPECT_EQ(ws_.bfnumber, "112");
  EXPECT_EQ(T2().RowCount(), 0);
  EXPECT_EQ(ws_.spSkinLabel3, "20:00");
  EXPECT_EQ(ws_.spSkinLabel4, "Nowhere");
  EXPECT_EQ(fetcher_.batches, 1);
}

TEST_F(IndicatorRaceTest, PageThatCannotBeFetched) {
  Fill(AddRace("14:30", "Ascot",
               {{.name = "Gone", .price = "2", .served = false}, {.name = "Here", .price = "6"}}));
  ASSERT_EQ(Names(), (std::vector<std::string>{"Here", "Gone"}));
  EXPECT_EQ(T2().Text(1, t2::kShare), "0");
  EXPECT_EQ(T2().Text(1, t2::kAllSum), "0");
  EXPECT_EQ(T2().Text(1, t2::kSum), "0");
  EXPECT_EQ(T2().Number(1, t2::kOdd), 5000);
  EXPECT_EQ(T2().Text(1, t2::kStartOdd), "5000,00");
  EXPECT_EQ(T2().Text(1, t2::kPlace), "0");
  EXPECT_EQ(T2().Text(1, t2::kPlaceSum), "0/0");
}

TEST_F(IndicatorRaceTest, ExchangeUnreachable) {
  const int row = AddPricedRace({"2", "3", "4", "5"});
  Hosts closed;
  closed.exchangeSite = "http://127.0.0.1:" + std::to_string(ClosedPort());
  FillIndicatorRace(ws_, row, VendorUrls(closed), fetcher_.Fetcher());
  EXPECT_EQ(Column(t2::kOdd), (std::vector<double>{5000, 5000, 5000, 5000}));
  EXPECT_EQ(ws_.ind1, "0,00");
  for (int r = 0; r < 4; ++r) EXPECT_TRUE(RowColoured(r, colors::kWhite));
}

TEST_F(IndicatorRaceTest, ShortFetcherAnswerReadsAsEmptyPages) {
  const int row = AddPricedRace({"2", "3"});
  FillIndicatorRace(ws_, row, urls_, [](const std::vector<std::string>&) {
    return std::vector<std::string>{RunnerPageHtml("10", "5", "2.5", "2")};
  });
  EXPECT_EQ(Column(t2::kOdd), (std::vector<double>{2.5, 5000}));
  EXPECT_EQ(T2().Text(0, t2::kPlaceSum), "0/0");
}

TEST_F(IndicatorRaceTest, RefillingStartsAfresh) {
  const int row = AddPricedRace({"8", "7", "5", "4"});
  Fill(row);
  const Table first = T2();
  Fill(row);
  EXPECT_EQ(T2(), first);
}

}  // namespace
}  // namespace trotix
