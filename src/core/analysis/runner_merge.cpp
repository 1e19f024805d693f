#include "analysis/runner_merge.h"

#include <string>
#include <vector>

#include "analysis/form_score.h"
#include "model/columns.h"
#include "model/prices.h"
#include "text/fields.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace trotix {
namespace {

constexpr double kUnreadablePrice = 1.01;

std::vector<std::string> UpperNames(const Table& t, int col) {
  std::vector<std::string> names;
  names.reserve(t.RowCount());
  for (int r = 0; r < t.RowCount(); ++r) names.push_back(Upper(t.At(r, col).text));
  return names;
}

void TakeTip(Table& TAB, int i, const Table& TIPS, int q) {
  TAB.SetImage(i, tab::kTips, TIPS.Image(q, tips::kPlace));
}

void TakeMove(Table& TAB, int i, const Table& LG, int q, bool realOdds) {
  TAB.SetNumber(i, tab::kMove, LG.Integer(q, lg::kMove));
  TAB.At(i, tab::kMove).color = LG.At(q, lg::kMove).color;
  const std::string price = ReplaceText(LG.Text(q, lg::kLastPrice), ".", ",");
  if (realOdds) {
    TAB.SetText(i, tab::kKf, price);
  } else {
    TAB.SetNumber(i, tab::kKf, ParseDecimal(price).value_or(kUnreadablePrice));
  }
}

void TakeExchange(Table& TAB, int i, const Table& T2, int q) {
  TAB.SetNumber(i, tab::kBf, T2.Number(q, t2::kShare));
  TAB.SetNumber(i, tab::kKf, T2.Number(q, t2::kOdd));
  TAB.At(i, tab::kMarketId).text = T2.Text(q, t2::kMarketId);
  TAB.At(i, tab::kSelectionId).text = T2.Text(q, t2::kSelectionId);
  TAB.At(i, tab::kPlacePrice).text = T2.Text(q, t2::kPlace);
  const bool indicator = T2.ColorOf(q, t2::kOdd) == colors::kLightGreen;
  TAB.SetColor(i, tab::kInd, indicator ? colors::kLightGreen : colors::kWhite);
}

}  // namespace

void ShowExchangeTotal(Workspace& ws, bool ownRace) {
  ws.u8 = ownRace && ws.T2.RowCount() > 0 ? "Summ BF: " + ws.T2.Text(0, t2::kAllSum) + " $"
                                          : kExchangeTotalCaption;
}

void MarkExchangeNotLoaded(Workspace& ws) {
  for (int i = 0; i < ws.TAB.RowCount(); ++i) {
    for (const int col : {tab::kBf, tab::kKf}) {
      ws.TAB.At(i, col) = Cell{};
      ws.TAB.At(i, col).hint = kNotLoaded;
    }
    for (const int col : {tab::kMarketId, tab::kSelectionId, tab::kPlacePrice})
      ws.TAB.At(i, col).text.clear();
  }
  for (int i = 0; i < ws.R.RowCount(); ++i) ws.R.At(i, r::kBf).hint = kNotLoaded;
  ws.u8 = std::string(kExchangeTotalCaption) + " " + kNotLoaded;
}

void MergeRunnerData(Workspace& ws, bool realOdds) {
  Table& TAB = ws.TAB;
  const auto tips = UpperNames(ws.TIPS, tips::kName);
  const auto moves = UpperNames(ws.LG, lg::kName);
  const auto exchange = UpperNames(ws.T2, t2::kName);
  const auto zorvat = UpperNames(ws.H, h::kHorse);
  for (int i = 0; i < TAB.RowCount(); ++i) {
    const std::string name = Upper(TAB.At(i, tab::kName).text);
    for (int q = 0; q < ws.TIPS.RowCount(); ++q)
      if (tips[q] == name) TakeTip(TAB, i, ws.TIPS, q);
    for (int q = 0; q < ws.LG.RowCount(); ++q)
      if (moves[q] == name) TakeMove(TAB, i, ws.LG, q, realOdds);
    TAB.SetNumber(i, tab::kFormRank, FormScore(TAB.At(i, tab::kForm).text));
    for (int q = 0; q < ws.T2.RowCount(); ++q)
      if (exchange[q] == name) TakeExchange(TAB, i, ws.T2, q);
    for (int q = 0; q < ws.H.RowCount(); ++q)
      if (zorvat[q] == name) TAB.At(i, tab::kZorvat).text = ws.H.Text(q, h::kScore);
  }
}

}  // namespace trotix
