// The Proof page's figures, the back-test over the stored days, and a method's picks as CSV.
#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <thread>
#include <tuple>
#include <utility>

#include "analysis/analyse_race.h"
#include "analysis/analysis_memo.h"
#include "app/days_in_order.h"
#include "app/error_text.h"
#include "app/recording_ports.h"
#include "app/replay_bodies.h"
#include "app/replay_collector.h"
#include "app/session.h"
#include "archive/archive_http_client.h"
#include "archive/request_key.h"
#include "archive/settlement.h"
#include "model/columns.h"
#include "report/scratch_folder.h"

namespace trotix {
namespace {

// The note of a day that Cancel or the deadline ended before anything was written.
constexpr const char* kStoppedNote = "stopped";

// The archive's reads of one replayed day under one lock.
class HeldReads {
 public:
  explicit HeldReads(DayArchive& archive) : archive_(archive) { archive.BeginReads(); }
  HeldReads(const HeldReads&) = delete;
  HeldReads& operator=(const HeldReads&) = delete;
  ~HeldReads() { archive_.EndReads(); }

 private:
  DayArchive& archive_;
};

// What a thread replaying days reads them with.
struct ReplayContext {
  ReplayContext(DayArchive& a, std::shared_ptr<ReferenceCache> r)
      : archive(a), bodies(a), reference(std::move(r)) {}
  DayArchive& archive;
  ReplayBodies bodies;
  std::shared_ptr<ReferenceCache> reference;
  const ScratchFolder scratch{"trotix-backtest"};
};

std::string BacktestMessage(const BacktestSummary& s) {
  int picks = 0, settled = 0;
  std::string unsettled, failed;
  for (const BacktestDay& d : s.done) {
    picks += d.picks;
    settled += d.settled;
    if (!d.note.empty()) (d.picks > 0 ? unsettled : failed) += " " + FormatDate(d.day);
  }
  std::string text = "Back-test " + std::to_string(s.runId) + ": " + std::to_string(s.done.size()) +
                     " of " + std::to_string(s.days) + " stored days, " + std::to_string(picks) +
                     " picks, " + std::to_string(settled) + " settled.";
  if (s.cancelled) text += " Cancelled; the days done are kept.";
  if (!unsettled.empty()) text += " No results stored for" + unsettled + ".";
  int late = 0;
  for (const BacktestDay& d : s.done) late += d.lateOddsRaces;
  if (late > 0)
    text += " " + std::to_string(late) +
            " races analysed without the exchange prices that came only after their off.";
  int leftOut = 0;
  for (const BacktestDay& d : s.done) leftOut += d.lateFeedRaces;
  if (leftOut > 0)
    text += " " + std::to_string(leftOut) +
            " races left out: the day's tips or moves came only after their off.";
  if (!failed.empty()) text += " Not replayed:" + failed + ".";
  return text;
}

}  // namespace

void Session::ShowProof(const ProofQuery& query) {
  AsCommand([&] {
    std::vector<Pick> ledger;
    std::vector<ArchiveRun> runs;
    RaceFactsIndex facts;
    std::string record;
    if (DayArchive* archive = ports_.archive) {
      // One read of the events gives the picks and the check of their chain.
      const std::vector<ChainedEvent> events = archive->LedgerEvents();
      record = ChainCheckText(VerifyChain(events));
      ledger = SortedPicks(PicksOfEvents(events));
      runs = archive->Runs();
      // Class and field size are on each day's stored card, read only when asked for.
      if (NeedsCards(query)) {
        const RequestKey dayKey = RequestKeyOf(urls().Login("", ""), options_.hosts, false);
        std::set<Date> days;
        for (const Pick& p : ledger) days.insert(p.day);
        for (const Date& day : days)
          AddRaceFacts(facts, day, RaceFactsOfDay(archive->LastAnswer(day, dayKey)));
      }
    }
    auto report = std::make_shared<ProofReport>(MakeProofReport(ledger, runs, query, facts));
    report->record = std::move(record);
    for (BacktestRunInfo& run : report->runs)
      if (const auto made = backtests_.find(run.id); made != backtests_.end()) {
        run.daysAsked = made->second.days;
        run.cancelled = made->second.cancelled;
      }
    proof_ = std::move(report);
  });
}

BacktestSummary Session::RunBacktest(const Date& from, const Date& to, bool showFigures) {
  BacktestSummary summary;
  DayArchive* archive = ports_.archive;
  if (!archive) {
    ports_.messages.Show("The archive is off: there are no stored days to back-test");
    return summary;
  }
  std::vector<Date> days, stored;
  const bool started = AsCommand([&] {
    stored = archive->Days();
    for (const Date& d : stored)
      if (from <= d && d <= to) days.push_back(d);
    summary.days = static_cast<int>(days.size());
    if (days.empty()) {
      ports_.messages.Show("No stored days from " + FormatDate(from) + " to " + FormatDate(to));
      return false;
    }
    // The end of this command says why when it could not be written.
    summary.runId = archive->StartBacktestRun(days.front());
    return summary.runId != 0;
  });
  if (!started) return summary;

  const Deadline deadline(*this);
  Progress& progress = ports_.progress;
  const int count = static_cast<int>(days.size());
  progress.SetGauge(Progress::kPr, 0, count);
  progress.ShowPanel(true);
  // The days are replayed side by side on a second thread where there is a second CPU, each
  // thread reading through a connection and bodies of its own; this thread writes them, in day
  // order, so the run's rows are those of one thread.
  ReplayContext own(*archive, reference_);
  std::unique_ptr<DayArchive> reader =
      count > 1 && std::thread::hardware_concurrency() > 1 ? archive->OpenReader() : nullptr;
  std::optional<ReplayContext> other;
  if (reader) other.emplace(*reader, std::make_shared<ReferenceCache>());
  const Date today = ports_.clock.Today();
  const auto replayDay = [&](int i, ReplayContext& with) {
    ReplayedDay found;
    try {
      const std::vector<Date> later(std::upper_bound(stored.begin(), stored.end(), days[i]),
                                    stored.end());
      with.bodies.NextDay();
      found = ReplayStoredDay(with.archive, days[i], summary.runId, with.scratch.path(), later,
                              with.bodies, with.reference, today);
    } catch (...) {
      // One day that cannot be replayed does not stop the others.
      found = ReplayedDay{};
      found.done.day = days[i];
      found.done.note = CurrentErrorText();
    }
    // This thread's archive says why a read failed when the day is written; the other's, now.
    if (&with != &own) found.readError = with.archive.CommitCommand();
    return found;
  };
  DaysInOrder<ReplayedDay> order(count);
  std::optional<ReplayThread<DaysInOrder<ReplayedDay>>> second;
  if (other)
    second.emplace(order, [&] {
      while (const auto i = order.Claim()) order.Found(*i, replayDay(*i, *other));
    });
  for (int i = 0; i < count; ++i) {
    // Between days only: a day is kept whole or not at all.
    if (stop_.stopped()) {
      summary.cancelled = true;
      break;
    }
    progress.SetCaption("Back-test " + std::to_string(i + 1) + "/" + std::to_string(count) + " — " +
                        FormatDate(days[i]));
    // While the other thread replays this day, this one replays a later one.
    std::optional<ReplayedDay> found;
    while (!(found = order.Take(i)))
      if (const auto j = order.Claim(i)) order.Found(*j, replayDay(*j, own));
    BacktestDay done;
    try {
      // A day is one command: the picks of a day that fails half-way are rolled back with it.
      done = AsCommand([&] { return WriteReplayedDay(std::move(*found)); });
    } catch (...) {
      done = BacktestDay{};
      done.day = days[i];
      done.note = CurrentErrorText();
    }
    if (done.note == kStoppedNote) {
      summary.cancelled = true;
      break;
    }
    summary.done.push_back(std::move(done));
    progress.SetGauge(Progress::kPr, i + 1, count);
  }
  second.reset();
  progress.ShowPanel(false);
  backtests_[summary.runId] = {summary.days, summary.cancelled};
  ports_.messages.Show(BacktestMessage(summary));
  SayHowItEnded();
  if (!showFigures) return summary;
  ProofQuery query = proof_ ? proof_->query : ProofQuery{};
  query.runId = summary.runId;
  ShowProof(query);
  return summary;
}

Session::ReplayedDay Session::ReplayStoredDay(DayArchive& archive, const Date& day, long long run,
                                              const std::filesystem::path& scratch,
                                              const std::vector<Date>& later, ReplayBodies& bodies,
                                              const std::shared_ptr<ReferenceCache>& reference,
                                              const Date& today) {
  ReplayedDay found;
  BacktestDay& done = found.done;
  done.day = day;
  HeldReads reads(archive);
  auto stored = archive.LoadDay(day);
  if (!stored) {
    done.note = "not in the archive";
    return found;
  }
  const Hosts hosts = stored->hosts;
  ArchiveHttpClient client(std::move(stored->answers), hosts, bodies.Reader());
  PickCollector collector;
  RecordingBrowser browser;
  RecordingMessages messages;
  // A replayed day's races are not shown one by one; Cancel waits for the end of the day.
  SilentProgress quiet;
  FixedClock clock(day);
  // One connection: offline nothing is waited on, and threads would only cost. Nothing stops a
  // day half-way (no deadline: nothing is waited on), so no race is copied to be taken back.
  SessionOptions replayOptions{hosts, scratch, 1};
  replayOptions.deadline = std::chrono::milliseconds{0};
  Session replay(replayOptions, {client, client, browser, messages, quiet, clock, &collector});
  // Every day's Zorvat files are the same stored bodies: parsed and indexed once for the run.
  replay.reference_ = reference;
  replay.Start();
  if (replay.SignIn({}) != SignInResult::SignedIn) {
    done.note = "its sign-in is not in the archive";
    return found;
  }
  const Workspace& ws = replay.ws();
  done.races = ws.MM.RowCount();
  bool pages = false, every = true;
  // Each page with its race and the race's off.
  std::vector<std::tuple<std::string, int, std::string>> offs;
  for (int k = 0; k < done.races; ++k) {
    const auto off = OffInstant(day, ws.MM.Text(k, mm::kTime), options_.raceTimesOffset);
    for (const std::string& page : RealOddsPages(ws, k, replay.urls())) {
      pages = true;
      every = every && client.Holds(page);
      if (off) offs.emplace_back(page, k, UtcText(*off));
    }
  }
  done.fromRealOdds = pages && every;
  // Only what was known before each off: a page answered only after its race's off is not.
  std::set<int> lateRaces;
  if (done.fromRealOdds)
    for (const auto& [page, race, off] : offs)
      if (!client.KeepOnlyBefore(page, off)) lateRaces.insert(race);
  done.lateOddsRaces = static_cast<int>(lateRaces.size());
  // Both runs analyse every race alike: the second takes the first's analyses.
  AnalysisMemo analyses;
  replay.analyses_ = &analyses;
  replay.RunBestRank(done.fromRealOdds);
  replay.RunBestRecoming(done.fromRealOdds);
  replay.analyses_ = nullptr;

  // The tips and moves the sign-in loaded are the day's first ones: a race that went off before
  // they came is not back-tested.
  const std::string feedsKnown = std::max(client.FirstArrival(replay.urls().Tips()),
                                          client.FirstArrival(replay.urls().Moves()));
  const auto offBeforeFeeds = [&](const std::string& time) {
    const auto off = OffInstant(day, time, options_.raceTimesOffset);
    return !feedsKnown.empty() && off && UtcText(*off) <= feedsKnown;
  };
  for (int k = 0; k < done.races; ++k)
    if (offBeforeFeeds(ws.MM.Text(k, mm::kTime))) ++done.lateFeedRaces;
  std::vector<Pick> picks;
  for (Pick& p : collector.picks)
    if (!offBeforeFeeds(p.time)) picks.push_back(std::move(p));
  for (Pick& p : picks) {
    p.source = PickSource::kBacktest;
    p.runId = run;
    p.late = false;
  }

  // The results the day stored itself, else those a later day fetched for it.
  const RequestKey resultsKey = RequestKeyOf(replay.urls().Results(FormatDate(day)), hosts, false);
  std::vector<RaceResult> results = ParseResults(archive.LastAnswer(day, resultsKey));
  for (std::size_t i = 0; results.empty() && i < later.size(); ++i)
    results = ParseResults(archive.LastAnswer(later[i], resultsKey));
  std::vector<Pick> settled;
  if (!results.empty()) {
    const RequestKey dayKey = RequestKeyOf(replay.urls().Login("", ""), hosts, false);
    settled = SettleDay(picks, results, archive.LastAnswer(day, dayKey), day < today, &stop_);
  }
  // A day stopped before its end writes nothing: it is kept whole or not at all.
  if (stop_.stopped()) {
    done.note = kStoppedNote;
    return found;
  }
  done.picks = static_cast<int>(picks.size());
  found.picks = std::move(picks);
  if (results.empty()) {
    done.note = "no results stored";
    return found;
  }
  done.settled = static_cast<int>(settled.size());
  found.settled = std::move(settled);
  found.settle = true;
  return found;
}

BacktestDay Session::WriteReplayedDay(ReplayedDay day) {
  DayArchive& archive = *ports_.archive;
  if (!day.readError.empty()) {
    failures_.push_back(day.readError);
    ports_.messages.Show(day.readError);
  }
  for (const Pick& p : day.picks) archive.AddPick(p);
  if (day.settle) archive.Settle(std::move(day.settled));
  return std::move(day.done);
}

void Session::ExportProofPicks(long long runId, const std::string& method) {
  if (!proof_) return;
  for (const ProofSide& side : proof_->sides) {
    if (side.runId != runId) continue;
    const auto lines = PickLines(side.bets, method);
    if (lines.empty()) return;
    SavePage(options_.folder / PickListFileName(method, runId), PickLinesCsv(lines));
    return;
  }
}

}  // namespace trotix
