#pragma once
// Market strength of three runners from their prices.
#include <array>
#include <string>

namespace trotix {

struct MarketStrength {
  std::array<double, 3> st{};  // whole values
  std::string indicator;       // sum of the three / 100, two decimals ("1,45")
};

// Each runner's share of the book, scaled by the book's overround. A book of exactly 100 has
// no overround to scale by: the values stay 0 and the indicator reads "0,00".
MarketStrength ComputeMarketStrength(const std::array<double, 3>& odds);

}  // namespace trotix
