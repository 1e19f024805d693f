#include "proof/significance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace trotix::proof {
namespace {

TEST(Archie, HandWorkedScores) {
  struct Case {
    int winners;
    double expected;
    int bets;
    double archie, p;
  };
  // 100 bets expecting 20 winners: 30 won gives 100 * 10^2 / (20 * 80) = 6.25, and a chi-square
  // of 6.25 with one degree of freedom lies beyond 2.5 standard deviations: p = 0.01242.
  // 20 won: 0, p = 1. 12 won: 100 * 64 / 1600 = 4, p = 0.0455 (2 standard deviations).
  const Case cases[] = {{30, 20, 100, 6.25, 0.012419},
                        {20, 20, 100, 0, 1},
                        {12, 20, 100, 4, 0.045500},
                        {3, 1.5, 10, 10 * 2.25 / (1.5 * 8.5), 0.184039}};
  for (const Case& c : cases) {
    EXPECT_NEAR(Archie(c.winners, c.expected, c.bets), c.archie, 1e-9);
    EXPECT_NEAR(ArchieP(c.archie), c.p, 5e-6);
  }
  EXPECT_EQ(Archie(3, 0, 10), 0);
  EXPECT_EQ(Archie(3, 2, 0), 0);
}

TEST(ExpectedLongestLosingRun, HandWorkedCases) {
  // Three bets at 50 %: the eight outcomes' longest losing runs are 0, 1, 1, 1, 2, 1, 2, 3.
  EXPECT_NEAR(ExpectedLongestLosingRun(3, 0.5), 11.0 / 8, 1e-12);
  // Two bets winning one time in four: runs 0 (1/16), 1 (2 * 3/16), 2 (9/16).
  EXPECT_NEAR(ExpectedLongestLosingRun(2, 0.25), (6.0 + 18.0) / 16, 1e-12);
  // One bet: the chance it loses.
  EXPECT_NEAR(ExpectedLongestLosingRun(1, 0.3), 0.7, 1e-12);
  EXPECT_EQ(ExpectedLongestLosingRun(5, 0), 5);
  EXPECT_EQ(ExpectedLongestLosingRun(5, 1), 0);
  EXPECT_EQ(ExpectedLongestLosingRun(0, 0.2), 0);
  // Twelve bets at two strike rates against every outcome enumerated.
  for (double strike : {0.3, 0.08}) {
    double expected = 0;
    for (unsigned outcome = 0; outcome < 1u << 12; ++outcome) {
      int run = 0, longest = 0, won = 0;
      for (int i = 0; i < 12; ++i) {
        const bool wins = outcome >> i & 1;
        won += wins;
        run = wins ? 0 : run + 1;
        longest = std::max(longest, run);
      }
      expected += longest * std::pow(strike, won) * std::pow(1 - strike, 12 - won);
    }
    EXPECT_NEAR(ExpectedLongestLosingRun(12, strike), expected, 1e-9) << strike;
  }
  // A long record: below the bettor's rule of thumb log(n) / -log(1 - s) = 31.
  EXPECT_NEAR(ExpectedLongestLosingRun(1000, 0.2), 25.835, 0.001);
}

}  // namespace
}  // namespace trotix::proof
