#include "proof/significance.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace trotix::proof {
namespace {

// The chance that `bets` bets hold no run of `run` losers or more: f(n) = f(n-1) - p q^L f(n-L-1)
// for n > L, f(n) = 1 for n < L and f(L) = 1 - q^L.
double NoRunOf(int run, int bets, double p) {
  const double q = 1 - p, qL = std::pow(q, run);
  std::vector<double> f(static_cast<std::size_t>(bets) + 1, 1.0);
  for (int n = run; n <= bets; ++n) f[n] = n == run ? 1 - qL : f[n - 1] - p * qL * f[n - run - 1];
  return std::clamp(f[bets], 0.0, 1.0);
}

}  // namespace

double Archie(int winners, double expected, int bets) {
  if (bets <= 0 || expected <= 0 || expected >= bets) return 0;
  const double d = winners - expected;
  return bets * d * d / (expected * (bets - expected));
}

double ArchieP(double archie) {
  return std::erfc(std::sqrt(std::max(archie, 0.0) / 2));
}

double ExpectedLongestLosingRun(int bets, double strikeRate) {
  if (bets <= 0) return 0;
  if (strikeRate <= 0) return bets;
  if (strikeRate >= 1) return 0;
  // E[longest] is the sum over L >= 1 of the chance of a run of at least L. Runs far shorter than
  // the usual longest are all but certain and far longer ones all but impossible: start at the
  // usual length and walk both ways until the terms stop mattering.
  const double usual = std::log(bets) / -std::log1p(-strikeRate);
  const int middle = std::clamp(static_cast<int>(usual), 1, bets);
  constexpr double kNegligible = 1e-13;
  double sum = 0;
  int below = middle;  // runs 1 .. below-1 still to add
  for (int run = middle; run >= 1; --run, --below) {
    const double atLeast = 1 - NoRunOf(run, bets, strikeRate);
    sum += atLeast;
    if (atLeast > 1 - kNegligible) {
      --below;
      break;
    }
  }
  sum += std::max(below, 0);  // each a certainty
  for (int run = middle + 1; run <= bets; ++run) {
    const double atLeast = 1 - NoRunOf(run, bets, strikeRate);
    sum += atLeast;
    if (atLeast < kNegligible) break;
  }
  return sum;
}

}  // namespace trotix::proof
