#include "model/prices.h"

#include <cmath>

#include "text/fields.h"
#include "text/numbers.h"

namespace trotix {

bool IsNoPrice(double value) {
  return value == 0 || value == 5000 || !std::isfinite(value) || value > kLargestPrice;
}

std::optional<double> RealPrice(std::optional<double> value) {
  if (!value || IsNoPrice(*value) || !(*value > 1)) return std::nullopt;
  return value;
}

bool IsNoPriceText(std::string_view text) {
  // Feeds write prices with a point, the system with a comma.
  const auto value = ParseDecimal(ReplaceText(std::string(text), ".", ","));
  return !value || IsNoPrice(*value);
}

bool HoldsNoPrice(const Table& table, int row, int col) {
  const Column& column = table.Columns().at(col);
  if (!column.price) return false;
  return column.kind == ColumnKind::Number ? IsNoPrice(table.Number(row, col))
                                           : IsNoPriceText(table.Text(row, col));
}

}  // namespace trotix
