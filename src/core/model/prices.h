#pragma once
// Prices that do not exist: the system writes 0 or 5000 (no matched price) or nothing where a
// runner has no price; a hostile page may write 1e70. The data keep those values; what is shown or
// exported says "no price".
#include <optional>
#include <string_view>

#include "table/table.h"

namespace trotix {

// The exchange's largest price: a larger one, or one that is no finite number, is no price.
inline constexpr double kLargestPrice = 1000;

inline constexpr const char* kNoPriceShown = "—";
inline constexpr const char* kNoPriceHint = "no price matched";
// The hint of an exchange figure whose runner pages have not come (yet): what is shown instead.
inline constexpr const char* kNotLoaded = "not loaded";

bool IsNoPrice(double value);
// The value when it is a price a bet can be struck at (above 1, at most kLargestPrice), else none.
std::optional<double> RealPrice(std::optional<double> value);
// Text that is empty, is no number, or reads as one of those values.
bool IsNoPriceText(std::string_view text);
// A cell of a price column (Column::price) that holds no price.
bool HoldsNoPrice(const Table& table, int row, int col);

}  // namespace trotix
