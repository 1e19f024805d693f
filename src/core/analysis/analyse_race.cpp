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
#include "model/columns.h"
#include "text/strings.h"

namespace trotix {
namespace {

bool SameRace(const Table& list, int row, const std::string& time, const std::string& course) {
  return SameName(list.Text(row, race_list::kTime), time) &&
         SameName(list.Text(row, race_list::kCourse), course);
}

template <class Fn>
void ForExchangeRows(const Workspace& ws, int raceIndex, Fn fn) {
  const std::string time = Trim(ws.MM.Text(raceIndex, mm::kTime));
  const std::string course = Trim(ws.MM.Text(raceIndex, mm::kCourse));
  for (int q = 0; q < ws.T1.RowCount(); ++q)
    if (SameRace(ws.T1, q, time, course)) fn(q);
}

}  // namespace

bool ExchangeHoldsRace(const Workspace& ws, int raceIndex) {
  if (raceIndex < 0 || raceIndex >= ws.MM.RowCount() || ws.T2.RowCount() == 0) return false;
  return SameName(Trim(ws.spSkinLabel3), Trim(ws.MM.Text(raceIndex, mm::kTime))) &&
         SameName(Trim(ws.spSkinLabel4), Trim(ws.MM.Text(raceIndex, mm::kCourse)));
}

std::vector<std::string> RealOddsPages(const Workspace& ws, int raceIndex, const VendorUrls& urls) {
  std::vector<std::string> pages;
  ForExchangeRows(ws, raceIndex, [&](int q) {
    for (auto& page : IndicatorRacePages(ws, q, urls)) pages.push_back(std::move(page));
  });
  return pages;
}

void AnalyseRace(Workspace& ws, int raceIndex, bool realOdds, const VendorUrls& urls,
                 const PageFetcher& fetch, const ScoreIndex* scores) {
  if (raceIndex < 0 || raceIndex >= ws.MM.RowCount()) throw std::out_of_range("no such race");
  ws.R.ClearRows();
  ws.RR.ClearRows();
  ParseRaceCard(ws, ws.MM, raceIndex);
  const std::string time = Trim(ws.MM.Text(raceIndex, mm::kTime));
  const std::string course = Trim(ws.MM.Text(raceIndex, mm::kCourse));

  if (realOdds)
    ForExchangeRows(ws, raceIndex, [&](int q) { FillIndicatorRace(ws, q, urls, fetch); });
  // Scoring reloads TAB for the same race, so the merge has to come after it.
  for (int q = 0; q < ws.NX.RowCount(); ++q)
    if (SameRace(ws.NX, q, time, course)) ScoreRace(ws, q, scores);

  ShowExchangeTotal(ws, ExchangeHoldsRace(ws, raceIndex));
  MergeRunnerData(ws, realOdds);
  MarkBestValues(ws.TAB);
  BuildSummaTable(ws.TAB, ws.R, ws.RR);
}

}  // namespace trotix
