#include "analysis/best_of.h"

#include <string>

#include "analysis/summa_table.h"
#include "model/columns.h"

namespace trotix {
namespace {

void AppendPick(Workspace& ws, int k, int i, std::string odds, BestOfSystem system) {
  Table& REP = ws.REP;
  const int r = REP.AddRow();
  REP.At(r, rep::kTime).text = ws.MM.Text(k, mm::kTime);
  REP.At(r, rep::kCourse).text = ws.MM.Text(k, mm::kCourse);
  REP.At(r, rep::kName).text = ws.TAB.At(i, tab::kName).text;
  REP.At(r, rep::kOdds).text = std::move(odds);
  REP.At(r, rep::kSystem).text = BestOfSystemName(system);
}

bool InRecoming(const Table& RR, const std::string& name) {
  for (int j = 0; j < RR.RowCount(); ++j)
    if (RR.At(j, rr::kName).text == name) return true;
  return false;
}

}  // namespace

const char* BestOfSystemName(BestOfSystem system) {
  return system == BestOfSystem::kBestRank ? "Best Rank" : "Best Recoming";
}

void BestRankRows(Workspace& ws, int k) {
  const Table& TAB = ws.TAB;
  for (int i = 0; i < TAB.RowCount(); ++i) {
    if (IsNonRunner(TAB, i) || TAB.ColorOf(i, tab::kRank) != colors::kLime) continue;
    if (!InRecoming(ws.RR, TAB.At(i, tab::kName).text)) continue;
    AppendPick(ws, k, i, TAB.Text(i, tab::kPlacePrice), BestOfSystem::kBestRank);
  }
}

void BestRecomingRows(Workspace& ws, int k) {
  if (ws.RR.RowCount() == 0) return;
  const std::string& top = ws.RR.At(0, rr::kName).text;
  const Table& TAB = ws.TAB;
  for (int i = 0; i < TAB.RowCount(); ++i)
    if (!IsNonRunner(TAB, i) && TAB.At(i, tab::kName).text == top)
      AppendPick(ws, k, i, TAB.Text(i, tab::kKf), BestOfSystem::kBestRecoming);
}

void BestOfRows(Workspace& ws, int k, BestOfSystem system) {
  if (system == BestOfSystem::kBestRank) {
    BestRankRows(ws, k);
  } else {
    BestRecomingRows(ws, k);
  }
}

int RunBestOf(Workspace& ws, BestOfSystem system, const RaceAnalysis& analyse,
              const BestOfHooks& hooks) {
  const int count = ws.MM.RowCount();
  for (int k = 0; k < count; ++k) {
    if (hooks.beforeRace && !hooks.beforeRace(k, count)) return k;
    analyse(ws, k);
    BestOfRows(ws, k, system);
    if (hooks.afterRace) hooks.afterRace(k, count);
  }
  return count;
}

}  // namespace trotix
