#include "analysis/summa_table.h"

#include <algorithm>

#include "analysis/zorvat_percent.h"
#include "model/columns.h"

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

constexpr Rgb kGrey{150, 150, 150};

}  // namespace

bool IsNonRunner(const Table& TAB, int row) {
  return TAB.At(row, tab::kNumber).text == kNonRunner;
}

std::array<double, 8> SummaParts(const Table& TAB, int i) {
  return {static_cast<double>(TAB.Integer(i, tab::kRank)),
          static_cast<double>(TAB.Integer(i, tab::kBf)),
          static_cast<double>(ScalpScore(TAB.Integer(i, tab::kMove))),
          static_cast<double>(TAB.Integer(i, tab::kRprDeviation)),
          TAB.ColorOf(i, tab::kInd) == colors::kLightGreen ? 100.0 : 0.0,
          TAB.Image(i, tab::kTips) == 1 ? 100.0 : 0.0,
          static_cast<double>(TAB.Integer(i, tab::kFormRank)),
          static_cast<double>(ZorvatPercent(TAB, i))};
}

void BuildSummaTable(const Table& TAB, Table& R, Table& RR) {
  R.ClearRows();
  R.SetRowCount(TAB.RowCount());
  for (int i = 0; i < TAB.RowCount(); ++i) {
    R.At(i, r::kName).text = TAB.At(i, tab::kName).text;
    const auto parts = SummaParts(TAB, i);
    for (int c = r::kRank; c <= r::kZorvat; ++c) R.SetNumber(i, c, parts[c - r::kRank]);
    double sum = 0;
    for (int c = r::kRank; c <= r::kZorvat; ++c) sum += R.Number(i, c);
    R.SetNumber(i, r::kSumma, sum);
    R.At(i, r::kSumma).bold = true;
    R.SetColor(i, r::kSumma, colors::kBlue);
    if (IsNonRunner(TAB, i)) {
      for (int c = 0; c < r::kCount; ++c) R.At(i, c).fontColor = kGrey;
      R.At(i, r::kName).hint = kNonRunner;
    }
  }
  R.SortByColumn(r::kSumma);

  // The strongest runners that run; a non-runner's place goes to the next one.
  RR.ClearRows();
  const int n = R.RowCount();
  const int wanted = std::min(RecomingCount(n), n);
  for (int i = n - 1; i >= 0 && RR.RowCount() < wanted; --i) {
    if (R.At(i, r::kName).hint == kNonRunner) continue;
    const int row = RR.AddRow();
    RR.At(row, rr::kName).text = R.At(i, r::kName).text;
    RR.SetNumber(row, rr::kPower, R.Number(i, r::kSumma));
  }
}

}  // namespace trotix
