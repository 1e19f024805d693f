#include "exchange/market_strength.h"

#include "text/numbers.h"

namespace trotix {

MarketStrength ComputeMarketStrength(const std::array<double, 3>& odds) {
  MarketStrength out;
  std::array<double, 3> p{};
  for (int k = 0; k < 3; ++k) p[k] = 100 / odds[k];
  const double s = p[0] + p[1] + p[2];
  const double x = 100 / s;
  const double y = x - 1;
  if (y == 0) {
    out.indicator = FormatFixed(0, 2);
    return out;
  }
  const double z = 100 / y;
  double sum = 0;
  for (int k = 0; k < 3; ++k) {
    out.st[k] = static_cast<double>(RoundHalfEven(p[k] / s * z));
    sum += out.st[k];
  }
  out.indicator = FormatFixed(RoundSignificant(sum / 100, 3), 2);
  return out;
}

}  // namespace trotix
