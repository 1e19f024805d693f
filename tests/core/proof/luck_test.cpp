#include "proof/luck.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace trotix::proof {
namespace {

// Every outcome of every bet, one by one: the chance of at least the profit the bets made.
double Enumerated(const std::vector<PricedBet>& bets, double commission) {
  const auto gain = [&](const PricedBet& b) { return ReturnInHundredths(b.price, commission); };
  long long target = 0;
  for (const PricedBet& b : bets) target += b.won ? gain(b) : 0;
  double total = 0;
  for (std::uint32_t outcome = 0; outcome < (1u << bets.size()); ++outcome) {
    double chance = 1;
    long long sum = 0;
    for (std::size_t i = 0; i < bets.size(); ++i) {
      const double p = 1 / bets[i].price;
      const bool wins = outcome >> i & 1;
      chance *= wins ? p : 1 - p;
      sum += wins ? gain(bets[i]) : 0;
    }
    if (sum >= target) total += chance;
  }
  return total;
}

TEST(Luck, AgreesWithEveryOutcomeEnumerated) {
  struct Case {
    const char* name;
    std::vector<double> prices;
    std::vector<int> winners;  // positions of the winners
    double commission;
  };
  const Case cases[] = {
      {"two prices", {2, 2, 2, 5, 5, 5, 5, 5, 2, 2}, {0, 3}, 0.05},
      {"three prices, long shot won", {1.5, 1.5, 4, 4, 4, 11, 11, 11, 11, 1.5, 4, 11}, {5}, 0.05},
      {"three prices, favourites won",
       {1.5, 1.5, 4, 4, 4, 11, 11, 11, 11, 1.5, 4, 11},
       {0, 1, 2, 9},
       0.02},
      {"no commission, many winners", {3, 3, 3, 6, 6, 6, 2.5, 2.5, 2.5, 2.5}, {0, 1, 3, 6, 7}, 0},
      {"all lost", {2, 3, 4, 2, 3, 4}, {}, 0.05},
      {"all won", {2, 3, 4, 2, 3, 4}, {0, 1, 2, 3, 4, 5}, 0.05},
  };
  for (const Case& c : cases) {
    std::vector<PricedBet> bets;
    for (double price : c.prices) bets.push_back({price, false});
    for (int w : c.winners) bets[w].won = true;
    const double exact = Enumerated(bets, c.commission);
    EXPECT_NEAR(LuckChance(bets, c.commission).value(), exact, 1e-12 * exact) << c.name;
  }
  EXPECT_EQ(LuckChance({}, 0.05), 0);
  // Prices that are no prices are left out; work past the limit gives no figure.
  const std::vector<PricedBet> odd = {{2, true}, {std::nan(""), true}, {1e300, true}, {1, true}};
  EXPECT_NEAR(LuckChance(odd, 0).value(), 0.5, 1e-15);
  const std::vector<PricedBet> some = {{2, true}, {3, false}, {5, true}};
  EXPECT_FALSE(LuckChance(some, 0.05, 10).has_value());
  EXPECT_TRUE(LuckChance(some, 0.05).has_value());
}

// Prices on the exchange's ladder, whose step grows with the price, mixed with prices off it:
// every way of splitting them into long prices on a coarse grid and short ones on a fine grid
// gives the chance every outcome enumerated gives, and on a ledger too long to enumerate, the
// chance of all of them on one grid.
TEST(Luck, EverySplitOfTheLadderGivesTheSameChance) {
  struct Case {
    const char* name;
    std::vector<double> prices;  // distinct prices, longest to the end of the ladder part
    int repeat;                  // bets at each price
    double commission;
    int enumerate;  // bets small enough to enumerate, or 0
  };
  const Case cases[] = {
      {"ladder and off it, enumerated", {1.37, 2.5, 3.17, 4.2, 7.3, 13.7, 40, 150}, 2, 0, 16},
      {"ladder with commission, enumerated", {1.5, 2.02, 3.5, 9.4, 26, 110, 1000}, 2, 0.05, 14},
      {"a long ledger on the ladder",
       {1.5, 1.8, 2.04, 2.5, 3.35, 4.7, 6.4, 8.8, 13.5, 19, 27, 44, 75, 230, 800},
       60,
       0,
       0},
      {"a long ledger off the ladder, with commission",
       {1.37, 1.93, 2.71, 3.17, 5.55, 7.3, 11.11, 13.7, 23.3, 51, 97, 333},
       60,
       0.05,
       0},
  };
  for (const Case& c : cases) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<PricedBet> bets;
    for (int r = 0; r < c.repeat; ++r)
      for (double price : c.prices) bets.push_back({price, unit(random) < 1.3 / price});
    const double whole = c.enumerate ? Enumerated(bets, c.commission)
                                     : LuckChanceSplit(bets, c.commission, c.prices.size()).value();
    ASSERT_GT(whole, 1e-9) << c.name;
    for (std::size_t longPrices = 1; longPrices <= c.prices.size(); ++longPrices)
      EXPECT_NEAR(LuckChanceSplit(bets, c.commission, longPrices).value(), whole, 1e-11 * whole)
          << c.name << ", " << longPrices << " long prices";
    EXPECT_NEAR(LuckChance(bets, c.commission).value(), whole, 1e-11 * whole) << c.name;
  }
}

// A month of a method's picks: exchange prices from odds-on to 1000, winners a little more
// often than the prices say.
std::vector<PricedBet> MonthOfPicks(std::mt19937_64& random, int count) {
  const double ladder[] = {1.5, 1.8, 2,  2.2, 2.5, 3,  3.5, 4,  4.5, 5,   6,   7,   8,   9,   10,
                           12,  14,  17, 21,  26,  34, 46,  67, 101, 150, 210, 300, 450, 1000};
  std::uniform_int_distribution<int> pick(0, std::size(ladder) - 1);
  std::uniform_real_distribution<double> unit(0, 1);
  std::vector<PricedBet> bets;
  for (int i = 0; i < count; ++i) {
    // The shorter prices more often, as a method's picks have them.
    const double price = ladder[std::min(pick(random), pick(random))];
    bets.push_back({price, unit(random) < 1.1 / price});
  }
  return bets;
}

TEST(Luck, AgreesWithASeededMonteCarloWithinItsStandardError) {
  constexpr double kCommission = 0.05;
  constexpr int kRuns = 200000;
  std::mt19937_64 random(20261209);
  const std::vector<PricedBet> bets = MonthOfPicks(random, 700);
  long long target = 0;
  for (const PricedBet& b : bets) target += b.won ? ReturnInHundredths(b.price, kCommission) : 0;

  // The runs draw from a stream of their own.
  std::mt19937_64 runs(1);
  std::uniform_real_distribution<double> unit(0, 1);
  int hits = 0;
  for (int run = 0; run < kRuns; ++run) {
    long long sum = 0;
    for (const PricedBet& b : bets)
      if (unit(runs) < 1 / b.price) sum += ReturnInHundredths(b.price, kCommission);
    hits += sum >= target;
  }
  const double simulated = static_cast<double>(hits) / kRuns;
  const double error = std::sqrt(simulated * (1 - simulated) / kRuns);
  const double exact = LuckChance(bets, kCommission).value();
  ASSERT_GT(simulated, 0.001);  // a figure the simulation can judge
  EXPECT_NEAR(exact, simulated, 3 * error) << "standard error " << error;
  RecordProperty("deviationInStandardErrors", std::to_string((exact - simulated) / error));
}

}  // namespace
}  // namespace trotix::proof
