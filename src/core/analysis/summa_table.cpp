#include "analysis/summa_table.h"

#include <algorithm>

#include "analysis/zorvat_percent.h"
#include "app/tab_columns.h"

namespace trotix {

int RecomingCount(int runners) {
  if (runners < 8) return 2;
  if (runners <= 16) return 3;
  return 4;
}

namespace {

// A shortening price (negative movement) scores positive.
int ScalpScore(int movement) {
  if (movement == 0) return 0;
  return std::clamp(-movement, -100, 100);
}

}  // namespace

void BuildSummaTable(const Table& TAB, Table& R, Table& RR) {
  using namespace summa;
  R.ClearRows();
  R.SetRowCount(TAB.RowCount());
  for (int i = 0; i < TAB.RowCount(); ++i) {
    R.At(i, kName).text = TAB.At(i, tab::kName).text;
    R.SetNumber(i, kRank, TAB.Integer(i, tab::kRank));
    R.SetNumber(i, kBf, TAB.Integer(i, tab::kBf));
    R.SetNumber(i, kScalp, ScalpScore(TAB.Integer(i, tab::kMove)));
    R.SetNumber(i, kRpr, TAB.Integer(i, tab::kRprDeviation));
    if (TAB.ColorOf(i, tab::kInd) == colors::kLightGreen) R.SetNumber(i, kIndicator, 100);
    if (TAB.Image(i, tab::kTips) == 1) R.SetNumber(i, kTips1, 100);
    R.SetNumber(i, kFormRank, TAB.Integer(i, tab::kFormRank));
    R.SetNumber(i, kZorvat, ZorvatPercent(TAB, i));
    double sum = 0;
    for (int c = kRank; c <= kZorvat; ++c) sum += R.Number(i, c);
    R.SetNumber(i, kSumma, sum);
    R.At(i, kSumma).bold = true;
    R.SetColor(i, kSumma, colors::kBlue);
  }
  R.SortByColumn(kSumma);

  RR.ClearRows();
  const int n = R.RowCount();
  const int k = std::min(RecomingCount(n), n);
  for (int j = 0; j < k; ++j) {
    const int row = RR.AddRow();
    RR.At(row, kName).text = R.At(n - 1 - j, kName).text;
    RR.SetNumber(row, kPower, R.Number(n - 1 - j, kSumma));
  }
}

}  // namespace trotix
