#include "proof/stats.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <tuple>

#include "proof/luck.h"
#include "proof/significance.h"
#include "proof/staking.h"

namespace trotix::proof {
namespace {

constexpr double kZ95 = 1.959963984540054;

bool Settled(Result r) {
  return r == Result::kWon || r == Result::kPlaced || r == Result::kUnplaced;
}

// The share of `total` made by the best 1 % of `gains` (at least one); 0 without a total.
double TopShare(std::vector<double> gains, double total) {
  if (gains.empty() || total <= 0) return 0;
  const std::size_t top = std::max<std::size_t>(1, (gains.size() + 99) / 100);
  std::partial_sort(gains.begin(), gains.begin() + static_cast<std::ptrdiff_t>(top), gains.end(),
                    std::greater<>());
  double sum = 0;
  for (std::size_t i = 0; i < top; ++i) sum += gains[i];
  return sum / total;
}

}  // namespace

const char* ResultName(Result r) {
  switch (r) {
    case Result::kWon:
      return "won";
    case Result::kPlaced:
      return "placed";
    case Result::kUnplaced:
      return "unplaced";
    case Result::kVoid:
      return "void";
    case Result::kPending:
      break;
  }
  return "pending";
}

std::pair<double, double> WilsonInterval(int successes, int trials) {
  if (trials <= 0) return {0, 0};
  const double n = trials, p = successes / n, z2 = kZ95 * kZ95;
  const double centre = (p + z2 / (2 * n)) / (1 + z2 / n);
  const double half = kZ95 / (1 + z2 / n) * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n));
  return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

double ProfitAtSP(const Bet& bet) {
  if (bet.result != Result::kWon) return -1;
  return bet.sp ? *bet.sp - 1 : 0;
}

std::optional<double> ProfitAtPrice(const Bet& bet, double commission) {
  if (!bet.price) return std::nullopt;
  if (bet.result != Result::kWon) return -1;
  return (*bet.price - 1) * (1 - commission);
}

void SortByRaceTime(std::vector<Bet>& bets) {
  std::stable_sort(bets.begin(), bets.end(), [](const Bet& a, const Bet& b) {
    return std::tie(a.date, a.time) < std::tie(b.date, b.time);
  });
}

MethodFigures Figures(std::vector<Bet> bets, const Options& options) {
  MethodFigures f;
  if (!bets.empty()) f.method = bets.front().method;
  SortByRaceTime(bets);
  std::vector<PricedBet> priced;
  std::vector<Bet> settled;
  std::vector<double> gainsSP;
  double expected = 0, bank = 0, peak = 0, topSP = 0, topPrice = 0;
  int losingRun = 0, pricedWinners = 0;
  for (const Bet& bet : bets) {
    if (bet.result == Result::kVoid) ++f.voids;
    if (!Settled(bet.result)) continue;
    settled.push_back(bet);
    ++f.bets;
    const bool won = bet.result == Result::kWon;
    f.winners += won;
    f.placed += won || bet.result == Result::kPlaced;
    losingRun = won ? 0 : losingRun + 1;
    f.longestLosingRun = std::max(f.longestLosingRun, losingRun);

    const double profitSP = ProfitAtSP(bet);
    bank += profitSP;
    f.curve.push_back(bank);
    f.curveDates.push_back(bet.date);
    peak = std::max(peak, bank);
    f.maxDrawdown = std::max(f.maxDrawdown, peak - bank);
    if (won) {
      gainsSP.push_back(profitSP);
      topSP = std::max(topSP, profitSP);
    }

    if (const auto profit = ProfitAtPrice(bet, options.commission)) {
      ++f.pricedBets;
      f.profitPrice += *profit;
      pricedWinners += won;
      expected += 1 / std::max(*bet.price, 1.0);
      priced.push_back({*bet.price, won});
      if (won) topPrice = std::max(topPrice, *profit);
    }
  }
  f.profitSP = bank;
  f.curvePercent = BankCurve(settled, Staking::kPercent);
  f.curveToWin = BankCurve(settled, Staking::kToWin);
  if (f.bets > 0) {
    f.strikeRate = static_cast<double>(f.winners) / f.bets;
    std::tie(f.wilsonLow, f.wilsonHigh) = WilsonInterval(f.winners, f.bets);
    f.roiSP = f.profitSP / f.bets;
    f.expectedLongestLosingRun = ExpectedLongestLosingRun(f.bets, f.strikeRate);
    if (f.expectedLongestLosingRun > 0)
      f.drawdownInLosingRuns = f.maxDrawdown / f.expectedLongestLosingRun;
    f.profitSPWithoutTop = f.profitSP - topSP;
    f.roiSPWithoutTop = f.bets > 1 ? f.profitSPWithoutTop / (f.bets - 1) : 0;
    f.topShareOfProfit = TopShare(gainsSP, f.profitSP);
  }
  if (f.pricedBets > 0) {
    f.roiPrice = f.profitPrice / f.pricedBets;
    f.expectedWinners = expected;
    f.aE = expected > 0 ? pricedWinners / expected : 0;
    f.archie = Archie(pricedWinners, expected, f.pricedBets);
    f.archieP = ArchieP(f.archie);
    f.profitPriceWithoutTop = f.profitPrice - topPrice;
    f.roiPriceWithoutTop = f.pricedBets > 1 ? f.profitPriceWithoutTop / (f.pricedBets - 1) : 0;
    const auto chance = LuckChance(priced, options.commission);
    f.luckExact = chance.has_value();
    f.luckOneIn = chance.value_or(0) > 0 ? 1 / *chance : 0;
  }
  return f;
}

std::vector<MethodFigures> FiguresByMethod(const std::vector<Bet>& bets, const Options& options) {
  std::vector<std::string> order;
  std::map<std::string, std::vector<Bet>> byMethod;
  for (const Bet& bet : bets) {
    auto& list = byMethod[bet.method];
    if (list.empty()) order.push_back(bet.method);
    list.push_back(bet);
  }
  std::vector<MethodFigures> out;
  for (const auto& method : order) out.push_back(Figures(std::move(byMethod[method]), options));
  return out;
}

}  // namespace trotix::proof
