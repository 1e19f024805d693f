#include "vendorsim/market.h"

#include <algorithm>
#include <cmath>

namespace trotix::vendorsim {
namespace {

// The margin is shared out by the square root of each chance, less for the fancied ones: a long
// shot carries far more of it than its chance would, a short-priced favourite little.
double MarginWeight(double chance) {
  return std::pow(chance, 0.7) * (1 - chance) * (1 - chance);
}

struct Fraction {
  int num, den;
};
// The bookmakers' odds, shortest first.
constexpr Fraction kFractions[] = {
    {1, 20}, {1, 16}, {1, 12},  {1, 10},  {1, 8},   {1, 6},   {1, 5},   {2, 9},  {1, 4},
    {2, 7},  {1, 3},  {4, 11},  {2, 5},   {4, 9},   {1, 2},   {8, 15},  {4, 7},  {8, 13},
    {4, 6},  {8, 11}, {4, 5},   {5, 6},   {10, 11}, {1, 1},   {11, 10}, {6, 5},  {5, 4},
    {11, 8}, {6, 4},  {13, 8},  {7, 4},   {15, 8},  {2, 1},   {9, 4},   {5, 2},  {11, 4},
    {3, 1},  {10, 3}, {7, 2},   {4, 1},   {9, 2},   {5, 1},   {11, 2},  {6, 1},  {13, 2},
    {7, 1},  {15, 2}, {8, 1},   {17, 2},  {9, 1},   {10, 1},  {11, 1},  {12, 1}, {14, 1},
    {16, 1}, {18, 1}, {20, 1},  {22, 1},  {25, 1},  {28, 1},  {33, 1},  {40, 1}, {50, 1},
    {66, 1}, {80, 1}, {100, 1}, {125, 1}, {150, 1}, {200, 1}, {250, 1}};

double Decimal(const Fraction& f) {
  return std::round((1 + static_cast<double>(f.num) / f.den) * 100) / 100;
}

}  // namespace

std::vector<double> WinChances(const std::vector<double>& abilities) {
  if (abilities.empty()) return {};
  const double top = *std::max_element(abilities.begin(), abilities.end());
  std::vector<double> chances;
  double total = 0;
  for (double a : abilities) total += chances.emplace_back(std::exp(a - top));
  for (double& c : chances) c /= total;
  return chances;
}

double SnapPrice(double p) {
  struct Band {
    double upTo, step;
  };
  static constexpr Band kBands[] = {{2, 0.01}, {3, 0.02}, {4, 0.05}, {6, 0.1}, {10, 0.2},
                                    {20, 0.5}, {30, 1},   {50, 2},   {100, 5}, {1000, 10}};
  p = std::clamp(p, 1.01, 1000.0);
  for (const Band& b : kBands) {
    if (p <= b.upTo) return std::min(b.upTo, std::round(p / b.step) * b.step);
  }
  return 1000;
}

double SnapStartingPrice(double price) {
  // Nearest on a log scale, as the steps widen with the price.
  double best = Decimal(kFractions[0]);
  for (const Fraction& f : kFractions) {
    const double d = Decimal(f);
    if (std::abs(std::log(d / price)) < std::abs(std::log(best / price))) best = d;
  }
  return best;
}

std::vector<double> ExchangePrices(const std::vector<double>& chances, double book) {
  std::vector<double> prices;
  for (double c : chances) prices.push_back(SnapPrice(1 / std::max(c * book, 1e-6)));
  return prices;
}

double StartingPriceBook(int runners) {
  return std::clamp(1.06 + 0.016 * runners, 1.10, 1.38);
}

std::vector<double> StartingPrices(const std::vector<double>& chances, double book) {
  std::vector<double> weights;
  double total = 0;
  for (double c : chances) total += weights.emplace_back(MarginWeight(std::clamp(c, 0.0, 1.0)));
  std::vector<double> prices;
  for (std::size_t i = 0; i < chances.size(); ++i) {
    const double share = chances[i] + (book - 1) * (total > 0 ? weights[i] / total : 0);
    prices.push_back(SnapStartingPrice(1 / std::max(share, 1e-6)));
  }
  return prices;
}

double Book(const std::vector<double>& prices) {
  double book = 0;
  for (double p : prices)
    if (p > 0) book += 1 / p;
  return book;
}

}  // namespace trotix::vendorsim
