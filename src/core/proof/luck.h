#pragma once
// How likely a method's profit at the prices taken is by luck alone: each priced bet wins with
// chance 1 / price, independently, and the question is how often that makes at least the
// level-stakes profit the bets made. Computed exactly over profits in hundredths of a point.
#include <cstddef>
#include <optional>
#include <span>

namespace trotix::proof {

struct PricedBet {
  double price = 0;  // decimal, above 1
  bool won = false;
};

// A winner's return at 1 point, stake included, after `commission` on its winnings, in whole
// hundredths of a point: the grid every luck figure is taken on.
long long ReturnInHundredths(double price, double commission);

// The most multiply-adds one luck figure may take (a few seconds): past it there is no figure
// rather than a Proof page that never comes.
inline constexpr double kLuckWorkLimit = 4e9;

// The chance that luck alone returns at least what `bets` returned (profit plus stakes, on the
// hundredths grid): 1 without winners, 0 without bets. Exact up to dropped states whose mass
// is below 1e-12 in all. None when it would take more than `workLimit` multiply-adds. A bet
// whose price is not a finite number above 1 is left out.
std::optional<double> LuckChance(std::span<const PricedBet> bets, double commission,
                                 double workLimit = kLuckWorkLimit);

// The same chance taken with the `longPrices` longest distinct returns convolved over the
// whole spread on their own grid and the rest on theirs over only their own spread, joined by
// one sum (all of them on one grid when `longPrices` covers every price). LuckChance picks the
// split with the least work; any split gives the same figure.
std::optional<double> LuckChanceSplit(std::span<const PricedBet> bets, double commission,
                                      std::size_t longPrices, double workLimit = kLuckWorkLimit);

}  // namespace trotix::proof
