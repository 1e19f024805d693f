#include "proof/stats.h"

#include <gtest/gtest.h>

#include "proof/luck.h"
#include "proof/significance.h"

namespace trotix::proof {
namespace {

Bet At(int hour, Result result, std::optional<double> price, std::optional<double> sp = {}) {
  return {{2026, 12, 1}, std::to_string(hour) + ":00",
          "Ascot",       "Runner",
          "Best Rank",   price,
          result,        sp};
}

// Ten settled picks, three winners, worked out by hand; one void and one pending beside them,
// listed out of time order.
std::vector<Bet> TenPicks() {
  using enum Result;
  return {At(10, kWon, 4, 5),    At(19, kUnplaced, 4),   At(11, kUnplaced, 3),
          At(12, kPlaced, 6, 7), At(13, kUnplaced, 2.5), At(14, kWon, 2, 2.5),
          At(15, kUnplaced, 10), At(16, kUnplaced, {}),  At(17, kPlaced, 5, 4.5),
          At(18, kWon, 8, 9),    At(20, kVoid, 3),       At(21, kPending, 3)};
}

TEST(ProofFigures, TenPicksWorkedByHand) {
  const MethodFigures f = Figures(TenPicks());
  EXPECT_EQ(f.method, "Best Rank");
  EXPECT_EQ(f.bets, 10);
  EXPECT_EQ(f.winners, 3);
  EXPECT_EQ(f.placed, 5);
  EXPECT_EQ(f.voids, 1);
  EXPECT_DOUBLE_EQ(f.strikeRate, 0.3);
  EXPECT_NEAR(f.wilsonLow, 0.108, 0.0005);
  EXPECT_NEAR(f.wilsonHigh, 0.603, 0.0005);
  // To SP: 4 + 1,5 + 8 won, seven lost.
  EXPECT_DOUBLE_EQ(f.profitSP, 6.5);
  EXPECT_DOUBLE_EQ(f.roiSP, 0.65);
  // At the price when picked, 5 % off the winnings: 2,85 + 0,95 + 6,65 won, six priced lost.
  EXPECT_EQ(f.pricedBets, 9);
  EXPECT_NEAR(f.profitPrice, 4.45, 1e-9);
  EXPECT_NEAR(f.roiPrice, 4.45 / 9, 1e-9);
  EXPECT_NEAR(f.aE, 3 / 2.325, 1e-9);  // expected: the sum of 1 / price over nine prices
  EXPECT_EQ(f.longestLosingRun, 3);
  EXPECT_DOUBLE_EQ(f.maxDrawdown, 4.5);  // from 4 after the first bet down to -0,5
  EXPECT_EQ(f.curve, (std::vector<double>{4, 3, 2, 1, 2.5, 1.5, 0.5, -0.5, 7.5, 6.5}));
  // Luck over the nine priced bets, winners at 4, 2 and 8.
  std::vector<PricedBet> priced;
  for (const Bet& b : TenPicks())
    if (b.price && (b.result != Result::kVoid && b.result != Result::kPending))
      priced.push_back({*b.price, b.result == Result::kWon});
  ASSERT_EQ(priced.size(), 9u);
  EXPECT_NEAR(f.luckOneIn, 1 / LuckChance(priced, 0.05).value(), 1e-9);
  EXPECT_TRUE(f.luckExact);
  EXPECT_GT(f.luckOneIn, 1);

  // Archie over the priced bets: 9 * (3 - 2,325)^2 / (2,325 * 6,675).
  EXPECT_NEAR(f.expectedWinners, 2.325, 1e-12);
  EXPECT_NEAR(f.archie, 0.264227, 1e-6);
  EXPECT_NEAR(f.archieP, 0.607231, 1e-6);
  // Without the winner at SP 9 (8 points; 6,65 at its price of 8).
  EXPECT_NEAR(f.profitSPWithoutTop, -1.5, 1e-12);
  EXPECT_NEAR(f.roiSPWithoutTop, -1.5 / 9, 1e-12);
  EXPECT_NEAR(f.profitPriceWithoutTop, -2.2, 1e-12);
  EXPECT_NEAR(f.roiPriceWithoutTop, -2.2 / 8, 1e-12);
  EXPECT_NEAR(f.topShareOfProfit, 8 / 6.5, 1e-12);  // one of three winners is the top 1 %
  // Ten bets at 30 %: the longest losing run to expect, and the drawdown of 4,5 in its units.
  EXPECT_NEAR(f.expectedLongestLosingRun, ExpectedLongestLosingRun(10, 0.3), 1e-12);
  EXPECT_GT(f.expectedLongestLosingRun, 4);  // beside the actual 3
  EXPECT_LT(f.expectedLongestLosingRun, 5);
  EXPECT_NEAR(f.drawdownInLosingRuns, 4.5 / f.expectedLongestLosingRun, 1e-12);
  EXPECT_EQ(f.curveDates.size(), f.curve.size());
  EXPECT_EQ(f.curvePercent.size(), f.curve.size());
  EXPECT_EQ(f.curveToWin.size(), f.curve.size());
}

TEST(ProofFigures, EmptyAllVoidAndAllWinners) {
  const MethodFigures empty = Figures({});
  EXPECT_EQ(empty.bets, 0);
  EXPECT_EQ(empty.strikeRate, 0);
  EXPECT_EQ(empty.wilsonHigh, 0);
  EXPECT_TRUE(empty.curve.empty());

  const MethodFigures voids = Figures({At(10, Result::kVoid, 3), At(11, Result::kVoid, {})});
  EXPECT_EQ(voids.bets, 0);
  EXPECT_EQ(voids.voids, 2);
  EXPECT_EQ(voids.profitSP, 0);
  EXPECT_EQ(voids.luckOneIn, 0);

  std::vector<Bet> winners;
  for (int h = 10; h < 20; ++h) winners.push_back(At(h, Result::kWon, 2, 3));
  const MethodFigures all = Figures(winners);
  EXPECT_EQ(all.strikeRate, 1);
  EXPECT_DOUBLE_EQ(all.wilsonHigh, 1);
  EXPECT_NEAR(all.wilsonLow, 0.722, 0.0005);
  EXPECT_EQ(all.longestLosingRun, 0);
  EXPECT_EQ(all.maxDrawdown, 0);
  EXPECT_DOUBLE_EQ(all.profitSP, 20);
  EXPECT_NEAR(all.aE, 2, 1e-9);
  EXPECT_NEAR(all.luckOneIn, 1024, 1e-6);  // ten coin tosses all won: exactly 1 in 2^10
}

TEST(ProofFigures, ByMethodInTheOrderMethodsFirstAppear) {
  std::vector<Bet> bets = TenPicks();
  Bet mine = At(9, Result::kWon, 3, 3);
  mine.method = "MySystem";
  bets.insert(bets.begin() + 1, mine);
  const auto figures = FiguresByMethod(bets);
  ASSERT_EQ(figures.size(), 2u);
  EXPECT_EQ(figures[0].method, "Best Rank");
  EXPECT_EQ(figures[0].bets, 10);
  EXPECT_EQ(figures[1].method, "MySystem");
  EXPECT_DOUBLE_EQ(figures[1].profitSP, 2);
}

}  // namespace
}  // namespace trotix::proof
