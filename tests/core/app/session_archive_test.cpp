// The Session with the day archive against the demo vendor server: a day replayed offline, the
// picks ledger following the report, and settlement against the generated finishing order.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <tuple>

#include "analysis/analyse_race.h"
#include "app/recording_ports.h"
#include "app/session.h"
#include "archive/archive_http_client.h"
#include "archive/recording_http_client.h"
#include "archive/session_archive.h"
#include "archive/settlement.h"
#include "archive/sqlite_archive.h"
#include "model/columns.h"
#include "net/curl_http_client.h"
#include "report/report_list.h"
#include "support/session_harness.h"
#include "support/temp_folder.h"
#include "vendorsim/demo_history.h"
#include "vendorsim/vendor_sim.h"

namespace trotix {
namespace {

constexpr Date kDay{2026, 12, 8};

// A Session whose clients record into the archive (live), or answer from a stored day (replay).
struct ArchivedSession {
  ArchivedSession(SqliteArchive& store, const Hosts& hosts, const std::filesystem::path& folder,
                  int maxConnections = 8)
      : archive(std::make_unique<SessionArchive>(store)),
        curlWeb(MakeRedirectingClient()),
        curlZorvat(MakeNonRedirectingClient()),
        web(std::make_unique<RecordingHttpClient>(*curlWeb, *archive, hosts)),
        zorvat(std::make_unique<RecordingHttpClient>(*curlZorvat, *archive, hosts)),
        clock(kDay) {
    Open(hosts, folder, maxConnections);
  }
  ArchivedSession(SqliteArchive& store, const StoredDay& day, const std::filesystem::path& folder,
                  int maxConnections)
      : archive(std::make_unique<SessionArchive>(store, day.day)),
        web(std::make_unique<ArchiveHttpClient>(day.answers, day.hosts, BodiesOf(*archive))),
        clock(day.day) {
    Open(day.hosts, folder, maxConnections);
  }
  void Open(const Hosts& hosts, const std::filesystem::path& folder, int maxConnections) {
    HttpClient& z = zorvat ? *zorvat : *web;
    session = std::make_unique<Session>(
        SessionOptions{hosts, folder, maxConnections},
        SessionPorts{*web, z, browser, messages, progress, clock, archive.get()});
    session->Start();
  }
  Session& operator*() { return *session; }
  Session* operator->() { return session.get(); }
  Workspace& ws() { return session->ws(); }

  std::unique_ptr<SessionArchive> archive;
  std::unique_ptr<HttpClient> curlWeb, curlZorvat, web, zorvat;
  RecordingBrowser browser;
  RecordingMessages messages;
  SilentProgress progress;
  FixedClock clock;
  std::unique_ptr<Session> session;
};

std::unique_ptr<vendorsim::VendorSim> StartSim(int races, int latencyMs = 0) {
  vendorsim::SimOptions options;
  options.date = kDay;
  options.races = races;
  options.latencyMinMs = options.latencyMaxMs = latencyMs;
  auto sim = std::make_unique<vendorsim::VendorSim>(options);
  sim->Start();
  return sim;
}

// The first race of MM whose analysis fetches runner pages.
int RaceWithPages(Session& s) {
  for (int k = 0; k < s.ws().MM.RowCount(); ++k)
    if (!RealOddsPages(s.ws(), k, s.urls()).empty()) return k;
  return -1;
}

// The commands of a user's day after signing in.
void UseTheDay(Session& s, int race) {
  s.AnalyseLive(race);
  s.AddToReport(0);
  s.FillIndicatorRace(0);
  s.RunBestRank(true);
  s.RunBestRecoming(true);
  s.LoadResults(FormatDate(AddDays(kDay, -1)));
  s.SelectReportRow(0);
  s.DeleteReportRow();
  s.OpenMarket();
}

TEST(SessionArchive, ReplayedDayEqualsTheLiveDay) {
  testing::TempFolder folder;
  auto sim = StartSim(8);
  SqliteArchive store(folder.path() / kArchiveFileName);
  ArchivedSession live(store, sim->SimHosts(), folder.path());
  // A failed sign-in first: the replay must not meet its answer.
  ASSERT_EQ(live->SignIn({"demo", "wrong"}), SignInResult::Rejected);
  ASSERT_EQ(live->SignIn({"demo", "demo"}), SignInResult::SignedIn);
  const int race = RaceWithPages(*live);
  ASSERT_GE(race, 0);
  UseTheDay(*live, race);

  const auto day = store.LoadDay(kDay);
  ASSERT_TRUE(day);
  // The index alone: each body stays in the file until the replay asks for it.
  const auto withBody = std::count_if(day->answers.begin(), day->answers.end(),
                                      [](const RecordedAnswer& a) { return a.bodyId != 0; });
  EXPECT_GT(withBody, 0);
  for (const RecordedAnswer& a : day->answers) EXPECT_EQ(a.answer.body, "") << a.key.path;
  const int requests = sim->Requests("*");
  // One request after another this time: the order asked, not the order arrived, is replayed.
  ArchivedSession replay(store, *day, folder.path(), 1);
  ASSERT_EQ(replay->SignIn({"", ""}), SignInResult::SignedIn);
  UseTheDay(*replay, race);
  EXPECT_EQ(sim->Requests("*"), requests) << "a replay never reaches the network";

  for (std::size_t i = 0; i < live.ws().Tables().size(); ++i)
    EXPECT_EQ(*replay.ws().Tables()[i].second, *live.ws().Tables()[i].second)
        << live.ws().Tables()[i].first;
  EXPECT_EQ(replay.ws().Labels(), live.ws().Labels());
  EXPECT_EQ(replay.ws().IndicatorList, live.ws().IndicatorList);
  EXPECT_EQ(*replay.ws().ScoreBase, *live.ws().ScoreBase);
  EXPECT_GT(live.ws().REZ.RowCount(), 0);
  EXPECT_GT(live.ws().REP.RowCount(), 0);
  ASSERT_FALSE(live.messages.shown.empty());
  EXPECT_EQ(live.messages.shown.front(), kAuthorizationFailed);
  EXPECT_EQ(replay.messages.shown,
            std::vector<std::string>(live.messages.shown.begin() + 1, live.messages.shown.end()));
  EXPECT_EQ(replay.browser.opened, live.browser.opened);
}

TEST(SessionArchive, LedgerFollowsTheReport) {
  testing::TempFolder folder;
  auto sim = StartSim(8);
  SqliteArchive store(folder.path() / kArchiveFileName);
  ArchivedSession live(store, sim->SimHosts(), folder.path());
  ASSERT_EQ(live->SignIn({"demo", "demo"}), SignInResult::SignedIn);
  const int race = RaceWithPages(*live);
  live->AnalyseLive(race);
  const Table& TAB = live.ws().TAB;
  int runner = 0;
  while (runner < TAB.RowCount() && TAB.Number(runner, tab::kKf) >= 5000) ++runner;
  ASSERT_LT(runner, TAB.RowCount()) << "a runner with a price";

  live->AddToReport(runner);
  live->AddToReport(runner);
  ASSERT_EQ(live.ws().REP.RowCount(), 2);
  auto picks = store.Picks();
  ASSERT_EQ(picks.size(), 1u) << "the same runner twice is one pick";
  EXPECT_EQ(picks[0].day, kDay);
  EXPECT_EQ(picks[0].runner, TAB.Text(runner, tab::kName));
  EXPECT_EQ(picks[0].time, live.ws().u1);
  EXPECT_EQ(picks[0].system, kManualSystem);
  EXPECT_EQ(picks[0].odds, TAB.Text(runner, tab::kKf));
  EXPECT_EQ(picks[0].price, TAB.Number(runner, tab::kKf));

  live->SelectReportRow(0);
  live->DeleteReportRow();
  EXPECT_EQ(store.Picks().size(), 1u) << "a row still shows the pick";
  live->SelectReportRow(0);
  live->DeleteReportRow();
  ASSERT_EQ(store.Picks().size(), 1u);
  EXPECT_TRUE(store.Picks()[0].withdrawn) << "deleted before the off: withdrawn, kept";

  live->AddToReport(runner);
  live->ClearReport();
  ASSERT_EQ(store.Picks().size(), 1u) << "Clear keeps the ledger";
  EXPECT_FALSE(store.Picks()[0].withdrawn) << "made again";

  live->RunBestRank(true);
  const Table& REP = live.ws().REP;
  ASSERT_GT(REP.RowCount(), 0);
  picks = store.Picks();
  EXPECT_EQ(picks.size(), 1u + REP.RowCount());
  for (int r = 0; r < REP.RowCount(); ++r) {
    const auto it = std::find_if(picks.begin(), picks.end(), [&](const Pick& p) {
      return p.runner == REP.Text(r, rep::kName) && p.system == REP.Text(r, rep::kSystem);
    });
    ASSERT_NE(it, picks.end()) << REP.Text(r, rep::kName);
    EXPECT_EQ(it->odds, REP.Text(r, rep::kOdds));
    EXPECT_EQ(it->course, REP.Text(r, rep::kCourse));
  }
}

// The verdict the generated finishing order gives, worked out from the day rather than the
// results text.
Verdict TruthOf(const vendorsim::Day& day, const Pick& pick) {
  for (const auto& race : day.races) {
    if (race.time != pick.time || race.course != pick.course) continue;
    for (const auto& r : race.runners) {
      if (RunnerKey(r.name) != RunnerKey(pick.runner)) continue;
      if (r.nonRunner()) return {PickResult::kVoid, 0, std::nullopt};
      if (r.finish < 1 || r.finish > 4) return {PickResult::kUnplaced, 0, std::nullopt};
      const double sp = r.startPrice > 0 ? r.startPrice : r.price;
      const PickResult result = r.finish == 1   ? PickResult::kWon
                                : r.finish <= 3 ? PickResult::kPlaced
                                                : PickResult::kUnplaced;
      return {result, r.finish, sp > 0 ? std::optional<double>(sp) : std::nullopt};
    }
  }
  return {PickResult::kVoid, 0, std::nullopt};
}

TEST(SessionArchive, SettlesAgainstASlowServerAndKeepsPicksWhenResultsFail) {
  testing::TempFolder folder;
  auto sim = StartSim(6, 200);
  SqliteArchive store(folder.path() / kArchiveFileName);
  ArchivedSession live(store, sim->SimHosts(), folder.path());
  ASSERT_EQ(live->SignIn({"demo", "demo"}), SignInResult::SignedIn);
  live->RunBestRank(false);
  live->RunBestRecoming(false);
  const std::size_t picks = store.Picks().size();
  ASSERT_GT(picks, 0u);

  sim->SetFault("/horse/rez.php", vendorsim::FaultMode::kStatus500);
  SettleSummary summary = live->Settle();
  EXPECT_EQ(summary.settled, 0);
  EXPECT_EQ(summary.failedDays, std::vector<std::string>{FormatDate(kDay)});
  EXPECT_EQ(store.UnsettledPicks().size(), picks) << "nothing is lost when the results fail";

  sim->ClearFaults();
  summary = live->Settle();
  EXPECT_EQ(summary.settled, static_cast<int>(picks));
  EXPECT_TRUE(summary.failedDays.empty());
  EXPECT_TRUE(store.UnsettledPicks().empty());
  for (const Pick& p : store.Picks()) {
    const Verdict truth = TruthOf(sim->day(), p);
    EXPECT_EQ(p.result, truth.result) << p.time << " " << p.course << " " << p.runner;
    EXPECT_EQ(p.position, truth.position) << p.runner;
    // The results write prices with two decimals.
    ASSERT_EQ(p.sp.has_value(), truth.sp.has_value()) << p.runner;
    if (p.sp) {
      EXPECT_NEAR(*p.sp, *truth.sp, 0.005) << p.runner;
    }
  }
  EXPECT_EQ(live.messages.shown.back().rfind("Settled " + std::to_string(picks), 0), 0u)
      << live.messages.shown.back();
}

// A Session on an archive port alone, offline.
struct SessionOnPort {
  SessionOnPort(DayArchive& archive, const std::filesystem::path& folder)
      : offline(std::vector<RecordedAnswer>{}, Hosts{}),
        clock({2026, 12, 20}),
        session(SessionOptions{Hosts{}, folder, 8},
                SessionPorts{offline, offline, browser, messages, progress, clock, &archive}) {}
  ArchiveHttpClient offline;
  RecordingBrowser browser;
  RecordingMessages messages;
  testing::RecordingProgress progress;
  FixedClock clock;
  Session session;
};

// A Session on the archive alone, as `trotix-cli backtest` runs it: a request of its own could
// only fail.
struct OfflineSession {
  OfflineSession(SqliteArchive& store, const std::filesystem::path& folder)
      : archive(store), port(archive, folder) {}
  SessionArchive archive;
  SessionOnPort port;
  Session& session = port.session;
  testing::RecordingProgress& progress = port.progress;
};

// `days` demo days of `races` races each, up to 09.12.2026, stored as the demo history does.
void StoreDemoDays(SqliteArchive& store, int days, int races) {
  vendorsim::DemoHistoryOptions history;
  history.today = {2026, 12, 10};
  history.days = days;
  history.races = races;
  for (const auto& day : vendorsim::BuildDemoHistory(store, history))
    ASSERT_TRUE(day.error.empty()) << day.error;
}

// What names a pick and what it came to.
using PickOutcome = std::tuple<int, int, int, std::string, std::string, std::string, std::string,
                               PickResult, std::optional<double>, std::optional<double>>;

std::vector<PickOutcome> Outcomes(const std::vector<Pick>& picks, PickSource source, long long run,
                                  const Date& from, const Date& to) {
  std::vector<PickOutcome> out;
  for (const Pick& p : picks) {
    const auto day = std::tie(p.day.year, p.day.month, p.day.day);
    if (p.source != source || p.runId != run || day < std::tie(from.year, from.month, from.day) ||
        std::tie(to.year, to.month, to.day) < day)
      continue;
    out.emplace_back(p.day.year, p.day.month, p.day.day, p.time, p.course, p.runner, p.system,
                     p.result, p.price, p.sp);
  }
  std::sort(out.begin(), out.end());
  return out;
}

// A day recorded after its races had gone off (its answers stamped by the machine's clock,
// days later): the back-test knows none of it before any off, so it picks nothing.
TEST(Backtest, AnswersThatCameAfterTheOffAreNotKnownBeforeIt) {
  testing::TempFolder folder;
  auto sim = StartSim(6);
  SqliteArchive store(folder.path() / kArchiveFileName);
  {
    ArchivedSession live(store, sim->SimHosts(), folder.path());
    ASSERT_EQ(live->SignIn({"demo", "demo"}), SignInResult::SignedIn);
    live->RunBestRank(true);
  }
  OfflineSession offline(store, folder.path());
  // Without its figures, as trotix-cli's `backtest` runs it: the run alone, no Proof report.
  const BacktestSummary run = offline.session.RunBacktest(kDay, kDay, /*showFigures=*/false);
  EXPECT_EQ(offline.session.proof(), nullptr);
  ASSERT_EQ(run.done.size(), 1u);
  const BacktestDay& d = run.done[0];
  EXPECT_GT(d.races, 0);
  EXPECT_EQ(d.lateFeedRaces, d.races);
  EXPECT_TRUE(d.fromRealOdds) << d.note;
  EXPECT_GT(d.lateOddsRaces, 0);
  EXPECT_EQ(d.picks, 0);
  const BacktestSummary again = offline.session.RunBacktest(kDay, kDay);
  ASSERT_NE(offline.session.proof(), nullptr);
  EXPECT_EQ(offline.session.proof()->query.runId, again.runId);
}

// The back-test of stored demo days picks, prices and settles what the live days did, as one
// run, offline; Cancel keeps the days done; the figures and the pick list agree.
TEST(Backtest, StoredDemoDaysGiveTheLivePicksAndFigures) {
  testing::TempFolder folder;
  SqliteArchive store(folder.path() / kDemoArchiveFileName);
  ASSERT_NO_FATAL_FAILURE(StoreDemoDays(store, 3, 12));
  const Date first{2026, 12, 7}, second{2026, 12, 8}, third{2026, 12, 9};

  OfflineSession offline(store, folder.path());
  Session& s = offline.session;
  const BacktestSummary run = s.RunBacktest(second, third);
  ASSERT_GT(run.runId, 0);
  EXPECT_EQ(run.days, 2);
  ASSERT_EQ(run.done.size(), 2u);
  for (const BacktestDay& d : run.done) {
    EXPECT_TRUE(d.fromRealOdds) << FormatDate(d.day);
    // The demo history signs in on each day's morning: everything came before every off.
    EXPECT_EQ(d.lateOddsRaces, 0);
    EXPECT_EQ(d.lateFeedRaces, 0);
    EXPECT_GT(d.picks, 0);
    EXPECT_EQ(d.settled, d.picks) << d.note;
  }
  const auto ledger = store.Picks();
  const auto live = Outcomes(ledger, PickSource::kLive, 0, second, third);
  ASSERT_FALSE(live.empty());
  EXPECT_EQ(Outcomes(ledger, PickSource::kBacktest, run.runId, second, third), live);
  EXPECT_TRUE(Outcomes(ledger, PickSource::kBacktest, run.runId, first, first).empty());

  // The run beside the live picks of the same days: the same figures, method by method.
  ProofQuery query;
  query.from = second;
  query.to = third;
  s.ShowProof(query);
  const auto shown = s.proof();  // kept: the next ShowProof replaces it
  const ProofReport& report = *shown;
  EXPECT_EQ(report.query.runId, run.runId) << "the newest run is shown";
  ASSERT_EQ(report.sides.size(), 2u);
  const auto& liveFigures = report.sides[0].methods;
  const auto& runFigures = report.sides[1].methods;
  ASSERT_EQ(liveFigures.size(), 2u);
  ASSERT_EQ(runFigures.size(), 2u);
  for (std::size_t m = 0; m < liveFigures.size(); ++m) {
    EXPECT_EQ(runFigures[m].method, liveFigures[m].method);
    EXPECT_EQ(runFigures[m].bets, liveFigures[m].bets);
    EXPECT_EQ(runFigures[m].winners, liveFigures[m].winners);
    EXPECT_DOUBLE_EQ(runFigures[m].profitSP, liveFigures[m].profitSP);
    EXPECT_EQ(runFigures[m].luckOneIn, liveFigures[m].luckOneIn);
    // The pick list adds up to the method's profit.
    const auto lines = PickLines(report.sides[1].bets, runFigures[m].method);
    ASSERT_FALSE(lines.empty());
    EXPECT_NEAR(lines.back().total, runFigures[m].profitSP, 1e-9);
  }
  EXPECT_EQ(report.runs.size(), 1u);
  EXPECT_EQ(report.runs[0].first, second);
  EXPECT_EQ(report.runs[0].last, third);

  // One course: only its picks count.
  query.course = report.sides[0].bets.front().course;
  s.ShowProof(query);
  int bets = 0;
  for (const auto& side : s.proof()->sides)
    for (const auto& b : side.bets) {
      EXPECT_EQ(b.course, query.course);
      ++bets;
    }
  EXPECT_GT(bets, 0);
  EXPECT_LT(bets, static_cast<int>(report.sides[0].bets.size() + report.sides[1].bets.size()));

  s.ExportProofPicks(run.runId, "Best Rank");
  const std::string csv = testing::ReadFile(folder.path() / "proof-best-rank-backtest-1.csv");
  EXPECT_EQ(csv.rfind("Date,Time,Course,Runner,Method,Price,Result,SP,Profit,Total\r\n", 0), 0u);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'),
            static_cast<long>(PickLines(s.proof()->sides[1].bets, "Best Rank").size() + 1));

  // Cancel after the first day: that day stays, a run of its own.
  offline.progress.onGauge = [&](Progress::Gauge gauge, int value) {
    if (gauge == Progress::kPr && value == 1) offline.progress.stop.Cancel();
  };
  const BacktestSummary cancelled = s.RunBacktest(first, third);
  EXPECT_TRUE(cancelled.cancelled);
  EXPECT_NE(cancelled.runId, run.runId);
  ASSERT_EQ(cancelled.done.size(), 1u);
  const auto kept = Outcomes(store.Picks(), PickSource::kBacktest, cancelled.runId, first, third);
  EXPECT_EQ(kept, Outcomes(store.Picks(), PickSource::kLive, 0, first, first));
}

// The archive of a session whose reads of `failing`'s stored answers throw `thrown` (a body too
// large to hold, a fault of a reader): everything else goes to the real archive.
class FailingReads : public DayArchive {
 public:
  FailingReads(DayArchive& inner, Date failing, std::function<void()> thrown)
      : inner_(inner), failing_(failing), thrown_(std::move(thrown)) {}
  void BeginCommand() override { inner_.BeginCommand(); }
  std::string CommitCommand() override { return inner_.CommitCommand(); }
  void RollbackCommand() override { inner_.RollbackCommand(); }
  void Record(RecordedAnswer a) override { inner_.Record(std::move(a)); }
  long long StoreBody(const std::string& body) override { return inner_.StoreBody(body); }
  std::optional<std::string> ReadBody(long long id) override { return inner_.ReadBody(id); }
  void KeepDay(const Date& d, const Hosts& h) override { inner_.KeepDay(d, h); }
  void ForgetAnswers(const std::vector<RequestKey>& k) override { inner_.ForgetAnswers(k); }
  std::string LastAnswer(const Date& day, const RequestKey& key) override {
    if (day == failing_) thrown_();
    return inner_.LastAnswer(day, key);
  }
  void AddPick(Pick p) override { inner_.AddPick(std::move(p)); }
  void WithdrawPick(const Pick& p, const std::string& at) override { inner_.WithdrawPick(p, at); }
  void NoteRaceMisses(std::vector<RaceMiss> m, std::vector<RaceMiss> f) override {
    inner_.NoteRaceMisses(std::move(m), std::move(f));
  }
  std::vector<RaceMiss> RaceMisses() override { return inner_.RaceMisses(); }
  std::vector<ChainedEvent> LedgerEvents() override { return inner_.LedgerEvents(); }
  std::vector<Pick> UnsettledPicks() override { return inner_.UnsettledPicks(); }
  void Settle(std::vector<Pick> p) override { inner_.Settle(std::move(p)); }
  std::vector<Pick> Picks() override { return inner_.Picks(); }
  std::vector<ArchiveRun> Runs() override { return inner_.Runs(); }
  std::vector<Date> Days() override { return inner_.Days(); }
  std::optional<StoredDay> LoadDay(const Date& d) override { return inner_.LoadDay(d); }
  long long StartBacktestRun(const Date& from) override { return inner_.StartBacktestRun(from); }

 private:
  DayArchive& inner_;
  Date failing_;
  std::function<void()> thrown_;
};

// Threads and lifetimes: a back-test day is one command. A day that throws once its picks are
// added (its stored results cannot be read) is rolled back whole, whatever it throws: none of
// its picks reach the ledger, its note says why, and the days around it are kept.
TEST(Backtest, ADayThatThrowsHalfWayIsRolledBackWhole) {
  testing::TempFolder folder;
  SqliteArchive store(folder.path() / kDemoArchiveFileName);
  ASSERT_NO_FATAL_FAILURE(StoreDemoDays(store, 3, 6));
  const Date first{2026, 12, 7}, second{2026, 12, 8}, third{2026, 12, 9};
  struct Case {
    const char* name;
    std::function<void()> thrown;
    std::string note;
  };
  const std::vector<Case> cases = {
      {"a standard exception", [] { throw std::length_error("results too large"); },
       "results too large"},
      {"anything else", [] { throw 42; }, "unexpected error (not a standard exception)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SessionArchive archive(store);
    FailingReads failing(archive, second, c.thrown);
    SessionOnPort s(failing, folder.path());
    const BacktestSummary run = s.session.RunBacktest(first, third);
    ASSERT_EQ(run.done.size(), 3u);
    EXPECT_EQ(run.done[1].note, c.note);
    EXPECT_EQ(run.done[1].picks, 0);
    EXPECT_TRUE(Outcomes(store.Picks(), PickSource::kBacktest, run.runId, second, second).empty());
    for (const Date& kept : {first, third}) {
      const auto picks = Outcomes(store.Picks(), PickSource::kBacktest, run.runId, kept, kept);
      EXPECT_FALSE(picks.empty()) << FormatDate(kept);
      EXPECT_EQ(picks, Outcomes(store.Picks(), PickSource::kLive, 0, kept, kept));
    }
  }
}

// Days replayed side by side, on a second thread with a connection of its own, write what one
// thread writes: the same events in the same order, day after day.
TEST(Backtest, DaysReplayedSideBySideWriteWhatOneThreadWrites) {
  testing::TempFolder folder;
  SqliteArchive store(folder.path() / kDemoArchiveFileName);
  ASSERT_NO_FATAL_FAILURE(StoreDemoDays(store, 6, 6));
  const Date first{2026, 12, 4}, last{2026, 12, 9};
  // A run's events without what tells two runs apart: their place, time and run.
  const auto eventsOf = [&](long long run) {
    std::vector<LedgerEvent> events;
    for (const ChainedEvent& e : store.LedgerEvents()) {
      if (e.event.run != run) continue;
      events.push_back(e.event);
      events.back().seq = 0;
      events.back().at.clear();
      events.back().run = 0;
    }
    return events;
  };

  OfflineSession sideBySide(store, folder.path());
  const BacktestSummary both = sideBySide.session.RunBacktest(first, last, false);
  // An archive that offers no second connection: every day on the calling thread.
  SessionArchive archive(store);
  FailingReads oneConnection(archive, Date{}, [] {});
  SessionOnPort s(oneConnection, folder.path());
  const BacktestSummary one = s.session.RunBacktest(first, last, false);

  ASSERT_EQ(both.done.size(), 6u);
  ASSERT_EQ(one.done.size(), 6u);
  for (std::size_t i = 0; i < one.done.size(); ++i) {
    const BacktestDay &a = both.done[i], &b = one.done[i];
    EXPECT_EQ(a.day, b.day);
    EXPECT_EQ(std::tie(a.races, a.picks, a.settled, a.note, a.fromRealOdds),
              std::tie(b.races, b.picks, b.settled, b.note, b.fromRealOdds))
        << FormatDate(b.day);
  }
  EXPECT_FALSE(eventsOf(one.runId).empty());
  EXPECT_EQ(eventsOf(both.runId), eventsOf(one.runId));
}

}  // namespace
}  // namespace trotix
