// The ALL TABLE analysis and the best-of runs.
#include <algorithm>
#include <optional>
#include <span>

#include "analysis/analyse_race.h"
#include "analysis/analysis_memo.h"
#include "analysis/runner_merge.h"
#include "app/session.h"
#include "app/system_clock.h"
#include "model/columns.h"
#include "model/prices.h"
#include "text/strings.h"

namespace trotix {
namespace {

// The day's lists: the analysis of a race reads them and never changes them.
constexpr Table WorkspaceView::*kDayLists[] = {
    &WorkspaceView::RT,   &WorkspaceView::LG,  &WorkspaceView::T1, &WorkspaceView::NX,
    &WorkspaceView::TIPS, &WorkspaceView::REZ, &WorkspaceView::MM};

// The view as it stands, to take a race back with; the day's lists, most of its size, are left
// out of the copy.
WorkspaceView CopyForUndo(WorkspaceView& view) {
  Table day[std::size(kDayLists)];
  for (std::size_t i = 0; i < std::size(kDayLists); ++i) day[i] = std::move(view.*kDayLists[i]);
  WorkspaceView copy = view;
  for (std::size_t i = 0; i < std::size(kDayLists); ++i) view.*kDayLists[i] = std::move(day[i]);
  return copy;
}

void Undo(WorkspaceView& view, WorkspaceView&& copy) {
  for (auto list : kDayLists) copy.*list = std::move(view.*list);
  view = std::move(copy);
}

}  // namespace

void Session::AnalyseLive(int row) {
  AsCommand([&] {
    const Deadline deadline(*this);
    const auto urls = RealOddsPages(ws_, row, urls_);
    // The race shows before its pages come; a stop leaves it so, its exchange figures not loaded.
    if (!urls.empty() && !ShowBeforeExchange(row)) return stop_.Cancel();
    RunnerPages pages;
    if (!FetchRunnerPages(urls, pages)) return SayHowItEnded();
    ws_.bfnumber.clear();
    view_.tvbuttonEnabled = view_.bfbuttonEnabled = false;
    AnalyseRace(ws_, row, true, urls_, FetchedPages(urls, pages.bodies));
    StoreRaceParts(row);
    ShowAnalysedRace(row, /*fetched=*/true, pages.arrivals);
    SayHowItEnded(&pages.failures);
  });
}

bool Session::ShowBeforeExchange(int row) {
  AnalyseRace(ws_, row, false, urls_, FetchedPages({}, {}));
  MarkExchangeNotLoaded(ws_);
  ws_.bfnumber.clear();
  view_.tvbuttonEnabled = view_.bfbuttonEnabled = false;
  view_.raceOnScreen = row;
  view_.exchangePrices = std::string("exchange prices ") + kNotLoaded;
  const RaceStep step{
      "Exchange prices", 0, 0,
      Trim(ws_.MM.Text(row, mm::kTime)) + " " + Trim(ws_.MM.Text(row, mm::kCourse))};
  return ports_.progress.StepDone(ws_, step);
}

void Session::AnalyseWithoutOdds(int row) {
  AsCommand([&] {
    AnalyseRace(ws_, row, false, urls_, FetchedPages({}, {}));
    StoreRaceParts(row);
    ShowAnalysedRace(row, /*fetched=*/false);
    ws_.bfnumber.clear();
    view_.tvbuttonEnabled = view_.bfbuttonEnabled = false;
    view_.BringToFront(kPageAllTable);
  });
}

void Session::ShowAnalysedRace(int row, bool fetched, std::span<const std::string> arrivals) {
  const bool ownRace = ExchangeHoldsRace(ws_, row);
  if (ownRace && fetched) {
    // A replayed day's prices are as old as its answers; live ones arrived just now.
    const auto last = std::max_element(arrivals.begin(), arrivals.end());
    const auto at = last == arrivals.end() ? std::nullopt : ParseUtcText(*last);
    exchangeFetchedAt_ = FormatTime(at ? LocalTimeOf(*at) : ports_.clock.Now());
  }
  // The market number and the buttons that use it belong to this race or to none.
  if (!ownRace) ws_.bfnumber.clear();
  view_.tvbuttonEnabled = view_.bfbuttonEnabled = !ws_.bfnumber.empty();
  view_.raceOnScreen = row;
  view_.exchangePrices =
      ownRace ? "exchange prices " + exchangeFetchedAt_ : std::string("without exchange prices");
}

void Session::RunBestRank(bool fromRealOdds) {
  AsCommand([&] {
    RunBestOf(
        BestOfSystemName(BestOfSystem::kBestRank),
        [&](int k) { BestOfRows(ws_, k, BestOfSystem::kBestRank); }, fromRealOdds);
  });
}

void Session::RunBestRecoming(bool fromRealOdds) {
  AsCommand([&] {
    RunBestOf(
        BestOfSystemName(BestOfSystem::kBestRecoming),
        [&](int k) { BestOfRows(ws_, k, BestOfSystem::kBestRecoming); }, fromRealOdds);
  });
}

// The day's runner pages travel as one batch in race order, the connections kept full by the
// pages of later races; race k is analysed as soon as its pages and those of every race before it
// are in, and its pages are released then. An analysis therefore never waits on the network, a
// stop between two races leaves the tables as the last finished race left them, and the pages
// held are those of the races in flight: a page starts only within a few connections' worth of
// the first race not yet analysed, so one slow page cannot let the rest of the day gather.
void Session::RunBestOf(const std::string& run, const std::function<void(int k)>& pick,
                        bool fromRealOdds) {
  Progress& progress = ports_.progress;
  Deadline deadline(*this);
  const int count = ws_.MM.RowCount();
  std::vector<std::string> urls;
  std::vector<std::size_t> first(count + 1, 0);  // race k's pages: urls[first[k]..first[k + 1])
  std::vector<int> raceOf;                       // the race of each page
  std::vector<int> missing(count, 0);            // pages of each race not in yet
  for (int k = 0; k < count; ++k) {
    first[k] = urls.size();
    if (fromRealOdds)
      for (auto& page : RealOddsPages(ws_, k, urls_)) urls.push_back(std::move(page));
    missing[k] = static_cast<int>(urls.size() - first[k]);
    raceOf.resize(urls.size(), k);
  }
  first[count] = urls.size();

  // Only a run that something may stop half-way through a race copies the race's tables first,
  // to take it back with.
  const bool stoppable = progress.mayCancel() || options_.deadline.count() > 0;
  // The reference table stays as it is for the whole run.
  const ScoreIndex& scores = reference_->scores.For(ws_.ScoreBase);
  RunnerPages pages;
  int next = 0;
  int ledgered = ws_.REP.RowCount();
  const auto analyseReady = [&] {
    while (next < count && missing[next] == 0 && !stop_.stopped()) {
      const int k = next++;
      const std::size_t from = first[k], to = first[k + 1];
      // A Cancel while the race is analysed takes it back: the tables stay as the last finished
      // race left them.
      std::optional<WorkspaceView> before;
      if (stoppable) before = CopyForUndo(ws_.view());
      const int reportRows = ws_.REP.RowCount();
      const ViewState viewBefore = view_;
      const std::string fetchedAtBefore = exchangeFetchedAt_;
      const auto bodies = std::span<const std::string>(pages.bodies).subspan(from, to - from);
      if (!analyses_ || !analyses_->Restore(ws_, k, fromRealOdds, bodies)) {
        if (analyses_) analyses_->Begin(ws_, k, fromRealOdds, bodies);
        AnalyseRace(ws_, k, fromRealOdds, urls_,
                    FetchedPages(std::span(urls).subspan(from, to - from),
                                 std::span(pages.bodies).subspan(from, to - from)),
                    &scores);
        if (analyses_) analyses_->Keep(ws_);
      }
      pick(k);
      ShowAnalysedRace(k, fromRealOdds, std::span(pages.arrivals).subspan(from, to - from));
      NoteReportChanges();
      for (std::size_t i = from; i < to; ++i) std::string().swap(pages.bodies[i]);
      const RaceStep step{run, k + 1, count,
                          Trim(ws_.MM.Text(k, mm::kTime)) + " " + Trim(ws_.MM.Text(k, mm::kCourse)),
                          ws_.REP.RowCount() - reportRows};
      if (!stop_.stopped()) {
        progress.SetGauge(Progress::kPr2, k + 1, count);
        progress.ShowGauge(Progress::kPr2, true);
        if (progress.StepDone(ws_, step)) {
          // TAB still holds the race, so each pick gets its runner's price as it stood.
          LedgerRows(ledgered);
          ledgered = ws_.REP.RowCount();
          StoreRaceParts(k);
          deadline.Restart();
          continue;
        }
        stop_.Cancel();  // the front end took a Cancel the signal had not seen yet
      }
      if (before) Undo(ws_.view(), std::move(*before));
      view_ = viewBefore;
      exchangeFetchedAt_ = fetchedAtBefore;
    }
  };
  try {
    pages.bodies.assign(urls.size(), std::string());
    pages.arrivals.assign(urls.size(), std::string());
    analyseReady();  // the races before the first with pages
    const std::size_t ahead = 4 * static_cast<std::size_t>(std::max(1, options_.maxConnections));
    FetchRunnerPages(
        urls, pages,
        [&](int i) {
          --missing[raceOf[i]];
          analyseReady();
        },
        [&](int i) {
          return next >= count || raceOf[i] <= next ||
                 static_cast<std::size_t>(i) < first[next] + ahead;
        });
    analyseReady();
  } catch (...) {
    progress.ShowGauge(Progress::kPr2, false);
    NoteReportChanges();
    throw;
  }
  progress.ShowGauge(Progress::kPr2, false);
  NoteReportChanges();
  SayHowItEnded(&pages.failures);
}

}  // namespace trotix
