#include "analysis/analyse_race.h"

#include <stdexcept>
#include <string>

#include "analysis/best_values.h"
#include "analysis/name_match.h"
#include "analysis/runner_merge.h"
#include "analysis/summa_table.h"
#include "analysis/zorvat/score_race.h"
#include "exchange/indicator_race.h"
#include "feeds/race_day.h"
#include "text/strings.h"

namespace trotix {
namespace {

bool SameRace(const Table& list, int row, const std::string& time, const std::string& course) {
  return SameName(list.Text(row, 1), time) && SameName(list.Text(row, 2), course);
}

}  // namespace

void AnalyseRace(Workspace& ws, int raceIndex, bool realOdds, const VendorUrls& urls,
                 const PageFetcher& fetch) {
  if (raceIndex < 0 || raceIndex >= ws.MM.RowCount()) throw std::out_of_range("no such race");
  ws.R.ClearRows();
  ws.RR.ClearRows();
  ParseRaceCard(ws, ws.MM, raceIndex);
  const std::string time = Trim(ws.MM.Text(raceIndex, 1));
  const std::string course = Trim(ws.MM.Text(raceIndex, 2));

  if (realOdds) {
    for (int q = 0; q < ws.T1.RowCount(); ++q)
      if (SameRace(ws.T1, q, time, course)) FillIndicatorRace(ws, q, urls, fetch);
  }
  // Scoring reloads TAB for the same race, so the merge has to come after it.
  for (int q = 0; q < ws.NX.RowCount(); ++q)
    if (SameRace(ws.NX, q, time, course)) ScoreRace(ws, q);

  ShowExchangeTotal(ws);
  MergeRunnerData(ws, realOdds);
  MarkBestValues(ws.TAB);
  BuildSummaTable(ws.TAB, ws.R, ws.RR);
}

}  // namespace trotix
