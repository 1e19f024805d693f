#include "proof/luck.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <utility>
#include <vector>

namespace trotix::proof {
namespace {

// States lighter than this are dropped from the ends of the window; with at most a few hundred
// million dropped over a run the answer moves by far less than its two significant figures.
constexpr double kNegligible = 1e-22;

// Bets of one price: their winners follow one binomial, drawn as one step.
struct Group {
  long long gain;  // hundredths
  double chance;
  int count;
};

// The chances of the totals (low + k) * unit for k = 0 .. size - 1, plus what was lumped at or
// above a target.
struct Spread {
  long long low = 0, unit = 1;
  std::vector<double> chance;
  double reached = 0;
};

long long CeilDiv(long long a, long long b) {
  return a >= 0 ? (a + b - 1) / b : -(-a / b);
}

// The binomial's chances of 0 .. count winners, from the first to the last that is not
// negligible: {first, chances}.
std::pair<int, std::vector<double>> Winners(int count, double chance) {
  std::vector<double> pmf(static_cast<std::size_t>(count) + 1);
  for (int k = 0; k <= count; ++k) {
    pmf[k] = chance >= 1 ? (k == count ? 1.0 : 0.0)
                         : std::exp(std::lgamma(count + 1.0) - std::lgamma(k + 1.0) -
                                    std::lgamma(count - k + 1.0) + k * std::log(chance) +
                                    (count - k) * std::log1p(-chance));
  }
  int first = 0, last = count + 1;
  while (first < last && pmf[first] < kNegligible) ++first;
  while (last > first && pmf[last - 1] < kNegligible) --last;
  return {first, std::vector<double>(pmf.begin() + first, pmf.begin() + last)};
}

// What the bets still to come may add to a total: at most `most`, with this mean and variance,
// no one bet more than `largest` (all in hundredths).
struct Rest {
  long long most = 0;
  double mean = 0, variance = 0;
  long long largest = 0;

  void Add(const Group& g) {
    const double gain = static_cast<double>(g.gain);
    most += g.gain * g.count;
    mean += g.count * g.chance * gain;
    variance += g.count * g.chance * (1 - g.chance) * gain * gain;
    largest = std::max(largest, g.gain);
  }
  // A margin the rest strays beyond from its mean, either way, with a chance below 1e-16:
  // Bennett's inequality for a sum of independent bets, each within `largest` of its mean,
  // P(|S - mean| >= t) <= exp(-variance / largest^2 * h(largest * t / variance)) with
  // h(u) = (1 + u) ln(1 + u) - u; never wider than Bernstein's.
  double Margin() const {
    constexpr double kLog = 36.85;  // -ln 1e-16
    if (largest <= 0 || variance <= 0) return 0;
    const double m = static_cast<double>(largest);
    const double need = kLog * m * m / variance;
    const auto h = [](double u) { return (1 + u) * std::log1p(u) - u; };
    double lo = 0, hi = 1;
    for (int i = 0; i < 200 && h(hi) < need; ++i) hi *= 2;
    for (int i = 0; i < 60; ++i) (h((lo + hi) / 2) < need ? lo : hi) = (lo + hi) / 2;
    return hi * variance / m;  // the upper end: never narrower than the bound allows
  }
};

// The total return of `groups` on the grid `unit` (which divides every gain), one price at a
// time. With a target, totals that reach it whatever the rest does, or all but surely (the rest
// falls short with a chance below 1e-16), are lumped into `reached`, and totals that cannot
// reach it, or all but surely not, are dropped: each step moves the answer by under 1e-16. None
// past the work limit.
std::optional<Spread> Convolve(std::span<const Group> groups, long long unit,
                               std::optional<long long> target, const Rest& rest, double& work,
                               double workLimit) {
  // after[i]: what the groups after the i-th and the rest may add.
  std::vector<Rest> after(groups.size(), rest);
  for (std::size_t i = groups.size(); i-- > 1;) {
    after[i - 1] = after[i];
    after[i - 1].Add(groups[i]);
  }
  const long long top = target ? CeilDiv(*target, unit) : 0;
  long long low = 0, size = 1;
  std::vector<double> dist{1.0}, next, above;
  std::size_t from = 0;
  double reached = 0;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const Group& g = groups[i];
    const long long gain = g.gain / unit;
    const auto [fewest, chances] = Winners(g.count, g.chance);
    const long long most = fewest + static_cast<long long>(chances.size()) - 1;
    const double* in = dist.data() + from;
    long long newLow = low + fewest * gain, newHigh = low + size + most * gain;
    if (target) {
      const double margin = after[i].Margin();
      // Totals from `lump` up reach the target whatever the rest does, or all but surely.
      const long long sure = static_cast<long long>(
          std::ceil((static_cast<double>(*target) - after[i].mean + margin) / unit));
      const long long lump = std::min(top, std::max(sure, low + fewest * gain));
      // above[j]: the chance of the totals from j up, for the winners that lift them there.
      above.assign(static_cast<std::size_t>(size) + 1, 0.0);
      for (long long j = size - 1; j >= 0; --j) above[j] = above[j + 1] + in[j];
      for (long long w = fewest; w <= most; ++w) {
        const long long j = std::clamp(lump - w * gain - low, 0LL, size);
        reached += chances[w - fewest] * above[j];
      }
      // The new window: totals below that which can still reach it, and not all but surely not.
      const double hopeless = static_cast<double>(*target) - after[i].mean - margin;
      const long long can = CeilDiv(*target - after[i].most, unit);
      newLow = std::max({newLow, can, static_cast<long long>(std::floor(hopeless / unit))});
      newHigh = std::min(newHigh, lump);
      if (newHigh <= newLow) return Spread{0, unit, {}, std::min(1.0, reached)};
    }
    work += static_cast<double>(newHigh - newLow) * static_cast<double>(chances.size());
    if (work > workLimit) return std::nullopt;
    next.assign(static_cast<std::size_t>(newHigh - newLow), 0.0);
    // Each number of winners moves every total up by that many gains.
    for (long long w = fewest; w <= most; ++w) {
      const double c = chances[w - fewest];
      const long long shift = w * gain;
      const long long begin = std::max(newLow, low + shift);
      const long long end = std::min(newHigh, low + size + shift);
      double* out = next.data() + (begin - newLow);
      const double* src = in + (begin - shift - low);
      for (long long k = 0; k < end - begin; ++k) out[k] += c * src[k];
    }
    // Negligible ends go.
    std::size_t first = 0, last = next.size();
    while (first < last && next[first] < kNegligible) ++first;
    while (last > first && next[last - 1] < kNegligible) --last;
    if (first == last) return Spread{0, unit, {}, std::min(1.0, reached)};
    std::swap(dist, next);
    from = first;
    low = newLow + static_cast<long long>(first);
    size = static_cast<long long>(last - first);
  }
  return Spread{low, unit,
                std::vector<double>(dist.begin() + static_cast<std::ptrdiff_t>(from),
                                    dist.begin() + static_cast<std::ptrdiff_t>(from + size)),
                std::min(1.0, reached)};
}

long long GridOf(std::span<const Group> groups) {
  long long unit = 0;
  for (const Group& g : groups) unit = std::gcd(unit, g.gain);
  return std::max(1LL, unit);
}

struct Priced {
  std::vector<Group> groups;  // longest price first
  long long target = 0;
};

Priced Grouped(std::span<const PricedBet> bets, double commission) {
  std::map<std::pair<long long, double>, int> counts;
  Priced p;
  for (const PricedBet& b : bets) {
    if (!std::isfinite(b.price) || b.price <= 1 || b.price > 1e6) continue;
    const long long gain = std::max(0LL, ReturnInHundredths(b.price, commission));
    ++counts[{gain, 1 / std::max(b.price, 1.0)}];
    if (b.won) p.target += gain;
  }
  for (auto it = counts.rbegin(); it != counts.rend(); ++it)
    p.groups.push_back({it->first.first, it->first.second, it->second});
  return p;
}

std::optional<double> Split(const Priced& p, std::size_t coarse, double workLimit) {
  if (p.groups.empty()) return 0;
  if (p.target <= 0) return 1;
  coarse = std::clamp<std::size_t>(coarse, 1, p.groups.size());
  const std::span<const Group> all(p.groups);
  const auto longs = all.first(coarse), shorts = all.subspan(coarse);
  double work = 0;
  // The short prices' whole distribution, on their own fine grid but over their narrow spread;
  // the prices with the widest range of winners go first, while the window is still narrow.
  std::vector<Group> widestFirst(shorts.begin(), shorts.end());
  std::stable_sort(widestFirst.begin(), widestFirst.end(), [](const Group& a, const Group& b) {
    return a.count * a.chance * (1 - a.chance) > b.count * b.chance * (1 - b.chance);
  });
  Rest rest;
  for (const Group& g : shorts) rest.Add(g);
  const auto fine = Convolve(widestFirst, GridOf(shorts), std::nullopt, Rest{}, work, workLimit);
  if (!fine) return std::nullopt;
  rest.most = (fine->low + static_cast<long long>(fine->chance.size()) - 1) * fine->unit;
  // The long prices over the wide spread, on their coarser grid, with the target's pruning.
  const auto wide = Convolve(longs, GridOf(longs), p.target, rest, work, workLimit);
  if (!wide) return std::nullopt;
  // tail[j]: the chance that the short prices return at least (fine->low + j) * unit.
  std::vector<double> tail(fine->chance.size() + 1, 0.0);
  for (std::size_t j = fine->chance.size(); j-- > 0;) tail[j] = tail[j + 1] + fine->chance[j];
  const auto fineSize = static_cast<long long>(fine->chance.size());
  double chance = wide->reached;
  for (std::size_t k = 0; k < wide->chance.size(); ++k) {
    const long long need = p.target - (wide->low + static_cast<long long>(k)) * wide->unit;
    const long long j = std::clamp(CeilDiv(need, fine->unit) - fine->low, 0LL, fineSize);
    chance += wide->chance[k] * tail[j];
  }
  return std::min(1.0, chance);
}

// Where to split the prices so that the work is least: the long prices cost the whole spread
// (on their grid) times their winners' range, the short ones only their own spread.
std::size_t CheapestSplit(std::span<const Group> groups) {
  constexpr double kSpan = 24;  // standard deviations a window roughly covers
  const std::size_t n = groups.size();
  std::vector<double> variance(n), width(n);
  for (std::size_t i = 0; i < n; ++i) {
    const Group& g = groups[i];
    const double v = g.count * g.chance * (1 - g.chance);
    variance[i] = v * static_cast<double>(g.gain) * static_cast<double>(g.gain);
    width[i] = std::min(g.count + 1.0, 1 + kSpan * std::sqrt(v));
  }
  // Suffix sums and grids of the short side.
  std::vector<double> shortVar(n + 1, 0), shortWidth(n + 1, 0);
  std::vector<long long> shortGrid(n + 1, 0);
  for (std::size_t i = n; i-- > 0;) {
    shortVar[i] = shortVar[i + 1] + variance[i];
    shortWidth[i] = shortWidth[i + 1] + width[i];
    shortGrid[i] = std::gcd(shortGrid[i + 1], groups[i].gain);
  }
  const double totalSpread = kSpan * std::sqrt(shortVar[0]);
  std::size_t best = n;
  double bestCost = 0, longWidth = 0;
  long long longGrid = 0;
  for (std::size_t s = 1; s <= n; ++s) {
    longWidth += width[s - 1];
    longGrid = std::gcd(longGrid, groups[s - 1].gain);
    const double longCells = totalSpread / static_cast<double>(std::max(1LL, longGrid)) + 1;
    const double shortCells =
        kSpan * std::sqrt(shortVar[s]) / static_cast<double>(std::max(1LL, shortGrid[s])) + 1;
    const double cost = longCells * (longWidth + 1) + shortCells * shortWidth[s];
    if (s == 1 || cost < bestCost) best = s, bestCost = cost;
  }
  return best;
}

}  // namespace

long long ReturnInHundredths(double price, double commission) {
  return std::llround(((price - 1) * (1 - commission) + 1) * 100);
}

std::optional<double> LuckChance(std::span<const PricedBet> bets, double commission,
                                 double workLimit) {
  const Priced p = Grouped(bets, commission);
  return Split(p, CheapestSplit(p.groups), workLimit);
}

std::optional<double> LuckChanceSplit(std::span<const PricedBet> bets, double commission,
                                      std::size_t longPrices, double workLimit) {
  return Split(Grouped(bets, commission), longPrices, workLimit);
}

}  // namespace trotix::proof
