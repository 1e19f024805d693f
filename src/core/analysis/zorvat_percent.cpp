#include "analysis/zorvat_percent.h"

#include "model/columns.h"
#include "text/numbers.h"

namespace trotix {

int ZorvatValue(std::string_view score) {
  if (score == "?") return 2;
  if (score == "0") return 1;
  return IntegerOrZero(score);
}

int ZorvatPercent(const Table& TAB, int row) {
  int best = 0;
  for (int i = 0; i < TAB.RowCount(); ++i) {
    const int v = ZorvatValue(TAB.At(i, tab::kZorvat).text);
    if (v > best) best = v;
  }
  if (best == 0) return 0;
  const int value = ZorvatValue(TAB.At(row, tab::kZorvat).text);
  return RoundToInt(static_cast<double>(value) / best * 100.0);
}

}  // namespace trotix
