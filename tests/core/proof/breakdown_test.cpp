#include "proof/breakdown.h"

#include <gtest/gtest.h>

#include <map>

#include "proof/staking.h"

namespace trotix::proof {
namespace {

Bet Pick(Date date, const char* course, const char* method, std::optional<double> price,
         Result result, std::optional<double> sp, const char* raceClass, int runners) {
  Bet b{date, "14:00", course, "Runner", method, price, result, sp};
  b.raceClass = raceClass;
  b.runners = runners;
  return b;
}

std::vector<Bet> Ledger() {
  using enum Result;
  return {
      Pick({2026, 11, 3}, "Ascot", "Best Rank", 1.5, kWon, 1.6, "Class 2", 6),
      Pick({2026, 11, 9}, "Kempton", "Best Rank", 3, kUnplaced, {}, "Class 4", 12),
      Pick({2026, 11, 30}, "Ascot", "Best Recoming", 6.5, kPlaced, 6, "Listed", 9),
      Pick({2026, 12, 1}, "Kempton", "Best Rank", 12, kWon, 14, "Class 4", 16),
      Pick({2026, 12, 2}, "Ascot", "Best Recoming", 20, kUnplaced, {}, "", 0),
      Pick({2026, 12, 2}, "Naas", "Best Rank", 40, kWon, 55, "Class 6", 20),
      Pick({2026, 12, 3}, "Naas", "Best Recoming", {}, kWon, 4, "Class 6", 8),
      Pick({2026, 12, 4}, "Naas", "Best Rank", 2, kVoid, {}, "Class 6", 8),
      Pick({2026, 12, 5}, "Ascot", "Best Rank", 8, kPending, {}, "Class 2", 7),
  };
}

TEST(Breakdown, GroupsInOrderAndNamed) {
  const auto names = [](Breakdown by) {
    std::vector<std::string> out;
    for (const GroupFigures& g : FiguresByGroup(Ledger(), by)) out.push_back(g.group);
    return out;
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(names(Breakdown::kBand),
            (V{"under 2", "2-4", "4-8", "8-16", "16-32", "32 and over", "no price"}));
  EXPECT_EQ(names(Breakdown::kCourse), (V{"Ascot", "Kempton", "Naas"}));
  EXPECT_EQ(names(Breakdown::kMonth), (V{"11.2026", "12.2026"}));
  EXPECT_EQ(names(Breakdown::kClass), (V{"Class 2", "Class 4", "Class 6", "Listed", "unknown"}));
  EXPECT_EQ(names(Breakdown::kRunners), (V{"up to 7", "8-11", "12-15", "16 and over", "unknown"}));
  for (const char* name : {"band", "course", "month", "class", "runners"})
    EXPECT_EQ(BreakdownName(*BreakdownOfName(name)), std::string(name));
  EXPECT_FALSE(BreakdownOfName("weather"));
}

TEST(Breakdown, EdgesBelongToTheGroupAbove) {
  const struct {
    double price;
    const char* band;
  } bands[] = {{1.01, "under 2"},   {1.99, "under 2"},    {2, "2-4"},     {3.95, "2-4"},
               {4, "4-8"},          {8, "8-16"},          {15.5, "8-16"}, {16, "16-32"},
               {32, "32 and over"}, {1000, "32 and over"}};
  for (const auto& b : bands) {
    const Bet bet = Pick({2026, 12, 1}, "Ascot", "M", b.price, Result::kWon, {}, "", 0);
    EXPECT_EQ(GroupOf(bet, Breakdown::kBand), b.band) << b.price;
  }
  const struct {
    int runners;
    const char* group;
  } fields[] = {{1, "up to 7"}, {7, "up to 7"}, {8, "8-11"},         {11, "8-11"},
                {12, "12-15"},  {15, "12-15"},  {16, "16 and over"}, {0, "unknown"}};
  for (const auto& f : fields) {
    const Bet bet = Pick({2026, 12, 1}, "Ascot", "M", 3, Result::kWon, {}, "", f.runners);
    EXPECT_EQ(GroupOf(bet, Breakdown::kRunners), f.group) << f.runners;
  }
}

TEST(Breakdown, GroupsAddUpToTheWhole) {
  const std::vector<Bet> bets = Ledger();
  std::map<std::string, MethodFigures> whole;
  for (const MethodFigures& f : FiguresByMethod(bets)) whole[f.method] = f;
  for (Breakdown by : {Breakdown::kBand, Breakdown::kCourse, Breakdown::kMonth, Breakdown::kClass,
                       Breakdown::kRunners}) {
    std::map<std::string, MethodFigures> sum;
    for (const GroupFigures& g : FiguresByGroup(bets, by)) {
      for (const MethodFigures& f : g.methods) {
        MethodFigures& s = sum[f.method];
        s.bets += f.bets;
        s.winners += f.winners;
        s.placed += f.placed;
        s.voids += f.voids;
        s.pricedBets += f.pricedBets;
        s.profitSP += f.profitSP;
        s.profitPrice += f.profitPrice;
        s.expectedWinners += f.expectedWinners;
      }
    }
    ASSERT_EQ(sum.size(), whole.size()) << BreakdownName(by);
    for (const auto& [method, w] : whole) {
      const MethodFigures& s = sum[method];
      EXPECT_EQ(s.bets, w.bets) << BreakdownName(by) << " " << method;
      EXPECT_EQ(s.winners, w.winners);
      EXPECT_EQ(s.placed, w.placed);
      EXPECT_EQ(s.voids, w.voids);
      EXPECT_EQ(s.pricedBets, w.pricedBets);
      EXPECT_NEAR(s.profitSP, w.profitSP, 1e-9);
      EXPECT_NEAR(s.profitPrice, w.profitPrice, 1e-9);
      EXPECT_NEAR(s.expectedWinners, w.expectedWinners, 1e-9);
    }
  }
}

TEST(Staking, BankCurvesWorkedByHand) {
  using enum Result;
  const std::vector<Bet> bets = {
      Pick({2026, 12, 1}, "Ascot", "M", 3, kUnplaced, {}, "", 0),
      Pick({2026, 12, 1}, "Ascot", "M", 5, kWon, 6, "", 0),
      Pick({2026, 12, 2}, "Ascot", "M", {}, kVoid, {}, "", 0),
      Pick({2026, 12, 2}, "Ascot", "M", {}, kWon, 3, "", 0),
      Pick({2026, 12, 3}, "Ascot", "M", 2, kPending, {}, "", 0),
  };
  using V = std::vector<double>;
  EXPECT_EQ(BankCurve(bets, Staking::kLevel), (V{-1, 4, 6}));
  // 2 of 100 lost, 1.96 of 98 at SP 6 wins 9.8, 2.156 of 107.8 at SP 3 wins 4.312.
  const V percent = BankCurve(bets, Staking::kPercent);
  ASSERT_EQ(percent.size(), 3u);
  EXPECT_NEAR(percent[0], -2, 1e-12);
  EXPECT_NEAR(percent[1], 7.8, 1e-12);
  EXPECT_NEAR(percent[2], 12.112, 1e-12);
  // To win a point at 3 stakes 0.5 (lost); at 5 stakes 0.25, paid at SP 6: 1.25; no price: 1.
  const V toWin = BankCurve(bets, Staking::kToWin);
  ASSERT_EQ(toWin.size(), 3u);
  EXPECT_NEAR(toWin[0], -0.5, 1e-12);
  EXPECT_NEAR(toWin[1], 0.75, 1e-12);
  EXPECT_NEAR(toWin[2], 2.75, 1e-12);
}

}  // namespace
}  // namespace trotix::proof
