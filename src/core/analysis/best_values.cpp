#include "analysis/best_values.h"

#include "model/columns.h"

namespace trotix {
namespace {

constexpr double kKfStart = 5000;

void MarkLargestInteger(Table& TAB, int col) {
  int best = 0;
  for (int i = 0; i < TAB.RowCount(); ++i)
    if (TAB.Integer(i, col) > best) best = TAB.Integer(i, col);
  for (int i = 0; i < TAB.RowCount(); ++i)
    if (TAB.Integer(i, col) == best) TAB.At(i, col).bold = true;
}

void MarkLowestInteger(Table& TAB, int col) {
  int best = 0;
  for (int i = 0; i < TAB.RowCount(); ++i)
    if (TAB.Integer(i, col) < best) best = TAB.Integer(i, col);
  for (int i = 0; i < TAB.RowCount(); ++i)
    if (TAB.Integer(i, col) == best) TAB.At(i, col).bold = true;
}

void MarkLowestNumber(Table& TAB, int col, double start) {
  double best = start;
  for (int i = 0; i < TAB.RowCount(); ++i)
    if (TAB.Number(i, col) < best) best = TAB.Number(i, col);
  for (int i = 0; i < TAB.RowCount(); ++i)
    if (TAB.Number(i, col) == best) TAB.At(i, col).bold = true;
}

}  // namespace

void MarkBestValues(Table& TAB) {
  for (int col : {tab::kPercent, tab::kTot, tab::kBf, tab::kFormRank, tab::kWin, tab::kPlace})
    MarkLargestInteger(TAB, col);
  MarkLowestNumber(TAB, tab::kKf, kKfStart);
  MarkLowestInteger(TAB, tab::kMove);
}

}  // namespace trotix
