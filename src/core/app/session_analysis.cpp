// The ALL TABLE analysis and the best-of runs.
#include <map>

#include "analysis/analyse_race.h"
#include "app/session.h"

namespace trotix {

void Session::AnalyseLive(int row) {
  Command command(*this);
  ws_.bfnumber.clear();
  view_.tvbuttonEnabled = view_.bfbuttonEnabled = false;
  AnalyseRace(ws_, row, true, urls_, RunnerPageFetcher());
  ShowAnalysedRace(row, /*fetched=*/true);
}

void Session::AnalyseWithoutOdds(int row) {
  Command command(*this);
  AnalyseRace(ws_, row, false, urls_, RunnerPageFetcher());
  ShowAnalysedRace(row, /*fetched=*/false);
  ws_.bfnumber.clear();
  view_.tvbuttonEnabled = view_.bfbuttonEnabled = false;
  view_.BringToFront(kPageAllTable);
}

void Session::ShowAnalysedRace(int row, bool fetched) {
  const bool ownRace = ExchangeHoldsRace(ws_, row);
  if (ownRace && fetched) exchangeFetchedAt_ = FormatTime(ports_.clock.Now());
  // The market number and the buttons that use it belong to this race or to none.
  if (!ownRace) ws_.bfnumber.clear();
  view_.tvbuttonEnabled = view_.bfbuttonEnabled = !ws_.bfnumber.empty();
  view_.raceOnScreen = row;
  view_.exchangePrices =
      ownRace ? "exchange prices " + exchangeFetchedAt_ : std::string("without exchange prices");
}

void Session::RunBestRank(bool fromRealOdds) {
  RunBestOf(BestOfSystem::kBestRank, fromRealOdds);
}

void Session::RunBestRecoming(bool fromRealOdds) {
  RunBestOf(BestOfSystem::kBestRecoming, fromRealOdds);
}

void Session::RunBestOf(BestOfSystem system, bool fromRealOdds) {
  Command command(*this);
  Progress& progress = ports_.progress;
  // With "From Real Odds" the whole day's runner pages are fetched side by side first; each race
  // then reads its pages from them, so the tables equal race-by-race fetching.
  std::map<std::string, std::string> prefetched;
  if (fromRealOdds) {
    std::vector<std::string> pages;
    for (int k = 0; k < ws_.MM.RowCount(); ++k)
      for (auto& page : RealOddsPages(ws_, k, urls_)) pages.push_back(std::move(page));
    const auto bodies = RunnerPageFetcher()(pages);
    for (std::size_t i = 0; i < pages.size(); ++i) prefetched.emplace(pages[i], bodies[i]);
  }
  const PageFetcher live = RunnerPageFetcher();
  const PageFetcher fetch = [&](const std::vector<std::string>& pages) {
    std::vector<std::string> bodies;
    std::vector<std::string> missing;
    for (const auto& page : pages)
      if (!prefetched.count(page)) missing.push_back(page);
    if (!missing.empty()) {
      const auto fetched = live(missing);
      for (std::size_t i = 0; i < missing.size(); ++i) prefetched[missing[i]] = fetched[i];
    }
    for (const auto& page : pages) bodies.push_back(prefetched[page]);
    return bodies;
  };

  // The reference table stays as it is for the whole run.
  const ScoreIndex scores(ws_.ScoreBase);
  BestOfHooks hooks;
  hooks.beforeRace = [&](int k, int count) {
    if (progress.CancelRequested()) return false;
    progress.SetGauge(Progress::kPr2, k + 1, count);
    progress.ShowGauge(Progress::kPr2, true);
    return true;
  };
  int ledgered = ws_.REP.RowCount();
  hooks.afterRace = [&](int k, int) {
    ShowAnalysedRace(k, fromRealOdds);
    // TAB still holds the race, so each pick gets its runner's price as it stood.
    LedgerRows(ledgered);
    ledgered = ws_.REP.RowCount();
    NoteReportChanges();
    progress.StepDone(ws_);
  };
  try {
    trotix::RunBestOf(
        ws_, system,
        [&](Workspace& ws, int k) { AnalyseRace(ws, k, fromRealOdds, urls_, fetch, &scores); },
        hooks);
  } catch (...) {
    progress.ShowGauge(Progress::kPr2, false);
    NoteReportChanges();
    throw;
  }
  progress.ShowGauge(Progress::kPr2, false);
  NoteReportChanges();
}

}  // namespace trotix
