#include "proof/luck.h"

#include <algorithm>
#include <cmath>
#include <map>
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

}  // namespace

long long ReturnInHundredths(double price, double commission) {
  return std::llround(((price - 1) * (1 - commission) + 1) * 100);
}

std::optional<double> LuckChance(std::span<const PricedBet> bets, double commission,
                                 double workLimit) {
  std::map<std::pair<long long, double>, int> counts;
  long long target = 0, remaining = 0;
  for (const PricedBet& b : bets) {
    if (!std::isfinite(b.price) || b.price <= 1 || b.price > 1e6) continue;
    const long long gain = std::max(0LL, ReturnInHundredths(b.price, commission));
    ++counts[{gain, 1 / std::max(b.price, 1.0)}];
    if (b.won) target += gain;
    remaining += gain;
  }
  if (counts.empty()) return 0;
  if (target <= 0) return 1;
  // Long shots first: once they are in, what the rest can still add shrinks fastest, and every
  // total that can no longer reach the target leaves the window.
  std::vector<Group> groups;
  for (auto it = counts.rbegin(); it != counts.rend(); ++it)
    groups.push_back({it->first.first, it->first.second, it->second});

  // The chance of each total return below the target, for totals low .. low + size - 1, held at
  // dist[from ..]; every total at or above the target stays there (returns are never negative)
  // and is counted in `reached`.
  long long low = 0, size = 1;
  std::vector<double> dist{1.0}, next, above;
  std::size_t from = 0;
  double reached = 0, work = 0;
  for (const Group& g : groups) {
    remaining -= g.gain * g.count;
    const auto [fewest, chances] = Winners(g.count, g.chance);
    const long long most = fewest + static_cast<long long>(chances.size()) - 1;
    const double* in = dist.data() + from;
    // above[j]: the chance of the totals from j up, for the winners that lift them to the target.
    above.assign(static_cast<std::size_t>(size) + 1, 0.0);
    for (long long j = size - 1; j >= 0; --j) above[j] = above[j + 1] + in[j];
    for (long long w = fewest; w <= most; ++w) {
      const long long j = std::clamp(target - w * g.gain - low, 0LL, size);
      reached += chances[w - fewest] * above[j];
    }
    // The new window: totals below the target that can still reach it.
    const long long newLow = std::max(low + fewest * g.gain, target - remaining);
    const long long newHigh = std::min(low + size + most * g.gain, target);
    if (newHigh <= newLow) return std::min(1.0, reached);
    work += static_cast<double>(newHigh - newLow) * static_cast<double>(chances.size());
    if (work > workLimit) return std::nullopt;
    next.assign(static_cast<std::size_t>(newHigh - newLow), 0.0);
    // Each number of winners moves every total up by that many gains.
    for (long long w = fewest; w <= most; ++w) {
      const double c = chances[w - fewest];
      const long long shift = w * g.gain;
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
    if (first == last) return std::min(1.0, reached);
    std::swap(dist, next);
    from = first;
    low = newLow + static_cast<long long>(first);
    size = static_cast<long long>(last - first);
  }
  return std::min(1.0, reached);
}

}  // namespace trotix::proof
