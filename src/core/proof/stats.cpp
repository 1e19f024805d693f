#include "proof/stats.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace trotix::proof {
namespace {

constexpr double kZ95 = 1.959963984540054;

bool Settled(Result r) {
  return r == Result::kWon || r == Result::kPlaced || r == Result::kUnplaced;
}

// The number of winners among `count` bets each winning with `chance`, as a cumulative
// distribution to draw from.
std::vector<double> BinomialCdf(int count, double chance) {
  std::vector<double> cdf(count + 1);
  double total = 0;
  for (int k = 0; k <= count; ++k) {
    double p;
    if (chance >= 1) {
      p = k == count ? 1 : 0;
    } else {
      p = std::exp(std::lgamma(count + 1.0) - std::lgamma(k + 1.0) - std::lgamma(count - k + 1.0) +
                   k * std::log(chance) + (count - k) * std::log1p(-chance));
    }
    total += p;
    cdf[k] = total;
  }
  for (double& c : cdf) c /= total;
  return cdf;
}

// A small fast generator (xoshiro256**): the simulations draw millions of numbers.
class Random {
 public:
  explicit Random(std::uint64_t seed) {
    for (auto& word : s_) {  // splitmix64 spreads the seed over the state
      seed += 0x9e3779b97f4a7c15ULL;
      std::uint64_t z = seed;
      z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
      z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
      word = z ^ (z >> 31);
    }
  }
  std::uint64_t Next() {
    const std::uint64_t result = Rotl(s_[1] * 5, 7) * 9, t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = Rotl(s_[3], 45);
    return result;
  }

 private:
  static std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  std::uint64_t s_[4];
};

// One in how many runs luck alone makes at least `profit` from bets at these prices, each
// winning with 1 / price: from seeded simulations, or exactly when every bet has one price.
// Bets at one price are drawn together: their winners follow one binomial. 0 for "never".
double LuckOneIn(const std::vector<double>& prices, double profit, const Options& options) {
  if (prices.empty() || options.simulations <= 0) return 0;
  std::map<double, int> counts;
  for (double p : prices) ++counts[p];
  struct Group {
    double gainPerWinner;  // a loser's stake back and the winner's profit
    int count;
    std::vector<double> cdf;
  };
  std::vector<Group> groups;
  for (const auto& [price, count] : counts) {
    const double gain = (price - 1) * (1 - options.commission);
    groups.push_back({gain + 1, count, BinomialCdf(count, 1 / std::max(price, 1.0))});
  }
  const double needed = profit - 1e-9;
  if (groups.size() == 1) {
    // One price: the chance is the binomial's tail, exactly.
    const Group& g = groups.front();
    const int winners = static_cast<int>(std::ceil((needed + g.count) / g.gainPerWinner));
    if (winners <= 0) return 1;
    if (winners > g.count) return 0;
    const double tail = 1 - g.cdf[winners - 1];
    return tail > 0 ? 1 / tail : 0;
  }
  // Group by group, every run at once: each group's draws use one table of 32-bit limits; a
  // draw's winners are the limits at or below it.
  const int runs = options.simulations;
  std::vector<double> totals(runs, -static_cast<double>(prices.size()));
  Random random(options.seed);
  std::vector<std::uint32_t> limits;
  // The winners of every draw in each of 1024 equal slices of the draws, or kMixed for the few
  // slices a limit cuts: one look-up instead of a search that mispredicts at random.
  constexpr int kSliceBits = 10, kShift = 32 - kSliceBits;
  constexpr std::uint8_t kMixed = 255;
  std::vector<std::uint8_t> slices(std::size_t{1} << kSliceBits);
  for (const Group& g : groups) {
    limits.clear();
    for (int k = 0; k < g.count; ++k)
      limits.push_back(static_cast<std::uint32_t>(std::min(g.cdf[k], 1.0) * 4294967295.0));
    const auto search = [&](std::uint32_t u) {
      return static_cast<int>(std::upper_bound(limits.begin(), limits.end(), u) - limits.begin());
    };
    std::size_t below = 0;  // limits under the slice
    for (std::uint32_t i = 0; i < slices.size(); ++i) {
      const std::uint32_t low = i << kShift, high = low | ((1u << kShift) - 1);
      while (below < limits.size() && limits[below] <= low) ++below;
      std::size_t within = below;
      while (within < limits.size() && limits[within] <= high) ++within;
      slices[i] = within == below && below < kMixed ? static_cast<std::uint8_t>(below) : kMixed;
    }
    const auto winners = [&](std::uint32_t u) {
      const std::uint8_t w = slices[u >> kShift];
      return w != kMixed ? w : search(u);
    };
    for (int s = 0; s < runs; s += 2) {
      const std::uint64_t bits = random.Next();
      totals[s] += winners(static_cast<std::uint32_t>(bits)) * g.gainPerWinner;
      if (s + 1 < runs)
        totals[s + 1] += winners(static_cast<std::uint32_t>(bits >> 32)) * g.gainPerWinner;
    }
  }
  const auto hits =
      std::count_if(totals.begin(), totals.end(), [&](double t) { return t >= needed; });
  return (runs + 1.0) / (static_cast<double>(hits) + 1.0);
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
  std::vector<double> prices;
  double expected = 0, bank = 0, peak = 0;
  int losingRun = 0, pricedWinners = 0;
  for (const Bet& bet : bets) {
    if (bet.result == Result::kVoid) ++f.voids;
    if (!Settled(bet.result)) continue;
    ++f.bets;
    const bool won = bet.result == Result::kWon;
    f.winners += won;
    f.placed += won || bet.result == Result::kPlaced;
    losingRun = won ? 0 : losingRun + 1;
    f.longestLosingRun = std::max(f.longestLosingRun, losingRun);

    bank += ProfitAtSP(bet);
    f.curve.push_back(bank);
    peak = std::max(peak, bank);
    f.maxDrawdown = std::max(f.maxDrawdown, peak - bank);

    if (const auto profit = ProfitAtPrice(bet, options.commission)) {
      ++f.pricedBets;
      f.profitPrice += *profit;
      pricedWinners += won;
      expected += 1 / std::max(*bet.price, 1.0);
      prices.push_back(*bet.price);
    }
  }
  f.profitSP = bank;
  if (f.bets > 0) {
    f.strikeRate = static_cast<double>(f.winners) / f.bets;
    std::tie(f.wilsonLow, f.wilsonHigh) = WilsonInterval(f.winners, f.bets);
    f.roiSP = f.profitSP / f.bets;
  }
  if (f.pricedBets > 0) {
    f.roiPrice = f.profitPrice / f.pricedBets;
    f.aE = expected > 0 ? pricedWinners / expected : 0;
    f.luckOneIn = LuckOneIn(prices, f.profitPrice, options);
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
