// Systems of the user's own over a demo history: the default system is Best Recoming, pick for
// pick and figure for figure, whether its runners were kept as analysed or replayed from stored
// days; a rule changed after live picks becomes a version of its own; and a system fitted to one
// half of the history is warned about on the other.
#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "app/recording_ports.h"
#include "app/session.h"
#include "archive/archive_http_client.h"
#include "archive/recording_http_client.h"
#include "archive/session_archive.h"
#include "archive/sqlite_archive.h"
#include "model/columns.h"
#include "net/curl_http_client.h"
#include "support/session_harness.h"
#include "support/temp_folder.h"
#include "vendorsim/demo_history.h"
#include "vendorsim/vendor_sim.h"

namespace trotix {
namespace {

constexpr int kDays = 8;
const Date kToday{2026, 12, 10};
const Date kSplit{2026, 12, 6};  // the history's second half begins

// The history is built once; each test works on a copy of its own.
class SessionSystems : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    built_ = new testing::TempFolder;
    SqliteArchive store(built_->path() / kDemoArchiveFileName);
    vendorsim::DemoHistoryOptions history;
    history.today = kToday;
    history.days = kDays;
    for (const auto& day : vendorsim::BuildDemoHistory(store, history))
      ASSERT_TRUE(day.error.empty()) << day.error;
  }
  static void TearDownTestSuite() {
    delete built_;
    built_ = nullptr;
  }
  void SetUp() override {
    std::filesystem::copy_file(built_->path() / kDemoArchiveFileName, file());
  }
  std::filesystem::path file() const { return folder_.path() / kDemoArchiveFileName; }

  static testing::TempFolder* built_;
  testing::TempFolder folder_;
};

testing::TempFolder* SessionSystems::built_ = nullptr;

// A session on the archive alone, some days after the history.
struct OfflineSession {
  OfflineSession(SqliteArchive& store, const std::filesystem::path& folder)
      : offline(std::vector<RecordedAnswer>{}, Hosts{}),
        archive(store),
        clock({2026, 12, 20}),
        session(SessionOptions{Hosts{}, folder, 8},
                SessionPorts{offline, offline, browser, messages, progress, clock, &archive}) {}
  ArchiveHttpClient offline;
  SessionArchive archive;
  RecordingBrowser browser;
  RecordingMessages messages;
  testing::RecordingProgress progress;
  FixedClock clock;
  Session session;
};

using Outcome = std::tuple<std::string, std::string, std::string, std::string, std::string,
                           std::optional<double>, std::optional<double>>;

Outcome OutcomeOf(const proof::Bet& b) {
  return {FormatDate(b.date),          b.time,  b.course, b.runner,
          proof::ResultName(b.result), b.price, b.sp};
}

std::vector<Outcome> Outcomes(std::vector<proof::Bet> bets) {
  proof::SortByRaceTime(bets);
  std::vector<Outcome> out;
  for (const proof::Bet& b : bets) out.push_back(OutcomeOf(b));
  return out;
}

// Every figure of the Proof page but the method's name.
void ExpectSameFigures(const proof::MethodFigures& a, const proof::MethodFigures& b) {
  EXPECT_EQ(a.bets, b.bets);
  EXPECT_EQ(a.winners, b.winners);
  EXPECT_EQ(a.placed, b.placed);
  EXPECT_EQ(a.voids, b.voids);
  EXPECT_EQ(a.strikeRate, b.strikeRate);
  EXPECT_EQ(a.wilsonLow, b.wilsonLow);
  EXPECT_EQ(a.profitSP, b.profitSP);
  EXPECT_EQ(a.roiSP, b.roiSP);
  EXPECT_EQ(a.pricedBets, b.pricedBets);
  EXPECT_EQ(a.profitPrice, b.profitPrice);
  EXPECT_EQ(a.aE, b.aE);
  EXPECT_EQ(a.longestLosingRun, b.longestLosingRun);
  EXPECT_EQ(a.maxDrawdown, b.maxDrawdown);
  EXPECT_EQ(a.luckOneIn, b.luckOneIn);
  EXPECT_EQ(a.archie, b.archie);
  EXPECT_EQ(a.archieP, b.archieP);
  EXPECT_EQ(a.topShareOfProfit, b.topShareOfProfit);
  EXPECT_EQ(a.curve, b.curve);
}

// Best Recoming's live picks and figures as Proof shows them.
std::pair<std::vector<proof::Bet>, proof::MethodFigures> BestRecoming(Session& s) {
  ProofQuery query;
  query.runId = 0;
  query.method = "Best Recoming";
  s.ShowProof(query);
  const ProofSide& live = s.proof()->sides.at(0);
  EXPECT_EQ(live.methods.size(), 1u);
  return {live.bets, live.methods.at(0)};
}

TEST_F(SessionSystems, TheDefaultSystemIsBestRecomingPickForPick) {
  SqliteArchive store(file());
  OfflineSession offline(store, folder_.path());
  Session& s = offline.session;
  EXPECT_TRUE(s.DaysWithoutParts().empty());  // each day's runners were kept as analysed
  const auto [bets, figures] = BestRecoming(s);
  ASSERT_GT(figures.bets, 200);

  const auto parsed = systems::ParseRule(R"({"select": {"top": 1}})");
  ASSERT_TRUE(parsed.rule);
  const SystemTest test = s.TestSystem(*parsed.rule, "Mine");
  EXPECT_EQ(test.races, kDays * 40);
  EXPECT_EQ(test.figures.pending, 0);
  EXPECT_EQ(Outcomes(test.figures.bets), Outcomes(bets));
  ExpectSameFigures(test.figures.figures, figures);
}

TEST_F(SessionSystems, DaysStoredBeforeRunnersWereKeptAreReplayedForThemOnce) {
  {
    // An archive of the release before: the days, without their runners.
    SQLite::Database db(file().string(), SQLite::OPEN_READWRITE);
    db.exec("DELETE FROM runner_parts; DELETE FROM parts_days;");
  }
  SqliteArchive store(file());
  OfflineSession offline(store, folder_.path());
  Session& s = offline.session;
  EXPECT_EQ(s.DaysWithoutParts().size(), static_cast<std::size_t>(kDays));
  EXPECT_EQ(s.FillRunnerParts(), kDays);
  EXPECT_EQ(offline.progress.prMax, kDays);
  EXPECT_EQ(offline.progress.prValues.back(), kDays);
  EXPECT_TRUE(s.DaysWithoutParts().empty());
  EXPECT_EQ(s.FillRunnerParts(), 0);

  const auto [bets, figures] = BestRecoming(s);
  const SystemTest test = s.TestSystem(systems::Rule{}, "Mine");
  EXPECT_EQ(Outcomes(test.figures.bets), Outcomes(bets));
  ExpectSameFigures(test.figures.figures, figures);
}

TEST_F(SessionSystems, ASystemFittedToOneHalfIsWarnedAboutOnTheOther) {
  SqliteArchive store(file());
  OfflineSession offline(store, folder_.path());
  Session& s = offline.session;
  // Fitted: of many weightings, price bands and field sizes, the one whose picks did best before
  // the split (with enough of them to look convincing).
  systems::Rule fitted;
  double best = -1e9;
  const double weights[] = {0, 1, 3};
  const std::pair<double, double> prices[] = {{0, 0}, {1, 3}, {3, 6}, {6, 12}, {12, 0}, {2, 8}};
  const std::pair<int, int> fields[] = {{0, 0}, {0, 10}, {11, 0}};
  for (double rank : weights)
    for (double bf : weights)
      for (double zorvat : weights)
        for (const auto& [priceMin, priceMax] : prices)
          for (const auto& [runnersMin, runnersMax] : fields) {
            systems::Rule rule;
            rule.weights = {rank, bf, 1, 1, 1, 1, 1, zorvat};
            rule.priceMin = priceMin;
            rule.priceMax = priceMax;
            rule.runnersMin = runnersMin;
            rule.runnersMax = runnersMax;
            const auto f = s.TestSystem(rule, "Try", {}, AddDays(kSplit, -1)).figures.figures;
            if (f.bets >= 30 && f.roiSP > best) {
              best = f.roiSP;
              fitted = rule;
            }
          }
  const SystemTest test = s.TestSystem(fitted, "Fitted", {}, {}, kSplit);
  ASSERT_TRUE(test.split);
  const auto& in = test.split->inSample.figures;
  const auto& out = test.split->outOfSample.figures;
  EXPECT_GT(in.roiSP, 0);
  EXPECT_GE(out.bets, systems::kFewestBets);
  EXPECT_LT(out.roiSP, in.roiSP - systems::kRoiDropPoints / 100);
  EXPECT_NE(test.split->warning.find("fitted to the past"), std::string::npos)
      << test.split->warning;
  // Both sides together are the whole.
  const SystemTest all = s.TestSystem(fitted, "Fitted");
  EXPECT_EQ(in.bets + out.bets, all.figures.figures.bets);
}

TEST_F(SessionSystems, ARuleChangedAfterLivePicksBecomesANewVersion) {
  SqliteArchive store(file());
  const auto first = systems::ParseRule(R"({"select": {"top": 1}})");
  const auto second = systems::ParseRule(R"({"weights": {"bf": 2}, "select": {"top": 1}})");
  {
    OfflineSession offline(store, folder_.path());
    Session& s = offline.session;
    EXPECT_EQ(s.SaveSystem("Fast ground", *first.rule).savedAs, "Fast ground");
    EXPECT_FALSE(s.SaveSystem("Best Rank", *first.rule).error.empty());
    EXPECT_FALSE(s.SaveSystem("Fast ground v3", *first.rule).error.empty());
    // Without live picks the rule is changed in place.
    const SystemSave again = s.SaveSystem("Fast ground", *second.rule);
    EXPECT_EQ(again.savedAs, "Fast ground");
    EXPECT_FALSE(again.newVersion);
    EXPECT_EQ(s.SaveSystem("Fast ground", *first.rule).savedAs, "Fast ground");
    EXPECT_EQ(s.Systems().size(), 1u);
  }

  // Live: today's races on the demo server, the system's picks into the report and the ledger.
  vendorsim::SimOptions sim;
  sim.date = kToday;
  sim.races = 6;
  vendorsim::VendorSim server(sim);
  server.Start();
  const Hosts hosts = server.SimHosts();
  SessionArchive archive(store);
  auto web = MakeRedirectingClient();
  auto zorvat = MakeNonRedirectingClient();
  RecordingHttpClient recordedWeb(*web, archive, hosts);
  RecordingHttpClient recordedZorvat(*zorvat, archive, hosts);
  RecordingBrowser browser;
  RecordingMessages messages;
  testing::RecordingProgress progress;
  FixedClock clock(kToday);
  Session live({hosts, folder_.path(), 4},
               {recordedWeb, recordedZorvat, browser, messages, progress, clock, &archive});
  live.Start();
  ASSERT_EQ(live.SignIn({"demo", "demo"}), SignInResult::SignedIn);
  live.RunSystems(true);
  const Table& REP = live.ws().REP;
  ASSERT_GT(REP.RowCount(), 0);
  std::vector<std::string> reported;
  for (int r = 0; r < REP.RowCount(); ++r) {
    EXPECT_EQ(REP.Text(r, rep::kSystem), "Fast ground");
    reported.push_back(REP.Text(r, rep::kName));
  }
  // The live picks are the ones a test of the same day finds in the runners kept.
  const SystemTest today = live.TestSystem(*first.rule, "Fast ground", kToday, kToday);
  std::vector<std::string> tested;
  for (const proof::Bet& b : today.figures.bets) tested.push_back(b.runner);
  EXPECT_EQ(tested, reported);
  int made = 0;
  for (const Pick& p : store.Picks())
    if (p.system == "Fast ground" && p.source == PickSource::kLive) {
      EXPECT_FALSE(p.late);  // the demo day's morning: before every off
      ++made;
    }
  EXPECT_EQ(made, REP.RowCount());

  // Changed now, it is version 2; version 1 keeps its rule and its record.
  const SystemSave changed = live.SaveSystem("Fast ground", *second.rule);
  EXPECT_TRUE(changed.newVersion);
  EXPECT_EQ(changed.savedAs, "Fast ground v2");
  const auto systems = live.Systems();
  ASSERT_EQ(systems.size(), 2u);
  EXPECT_EQ(systems[0].pickName, "Fast ground");
  EXPECT_EQ(systems[0].livePicks, made);
  EXPECT_FALSE(systems[0].latest);
  EXPECT_EQ(*systems::ParseRule(systems[0].rule).rule, *first.rule);
  EXPECT_EQ(systems[1].pickName, "Fast ground v2");
  EXPECT_EQ(systems[1].livePicks, 0);
  EXPECT_TRUE(systems[1].latest);
  EXPECT_EQ(live.FindSystem("Fast ground")->version, 2);
  EXPECT_EQ(live.FindSystem("Fast ground v2")->version, 2);
  EXPECT_FALSE(live.RenameSystem("Fast ground", "Firm ground").empty());

  // Deleted, the system goes; its record stays in the ledger and on Proof.
  EXPECT_EQ(live.DeleteSystem("Fast ground"), "");
  EXPECT_TRUE(live.Systems().empty());
  ProofQuery query;
  query.runId = 0;
  live.ShowProof(query);
  bool shown = false;
  for (const auto& m : live.proof()->sides.at(0).methods)
    shown = shown || m.method == "Fast ground";
  EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace trotix
