// The ledger's rules through the Session against the demo vendor server: each way of bending the
// record a user has (delete a settled pick, pick after the off, pick with the result on screen)
// leaves the figures as they were, a withdrawal before the off stays in the record, and a race
// its results page missed is settled when a later page shows it.
#include <gtest/gtest.h>

#include "app/session.h"
#include "archive/recording_http_client.h"
#include "archive/session_archive.h"
#include "archive/sqlite_archive.h"
#include "model/columns.h"
#include "net/curl_http_client.h"
#include "report/report_list.h"
#include "support/session_harness.h"
#include "support/temp_folder.h"
#include "vendorsim/vendor_sim.h"

namespace trotix {
namespace {

constexpr Date kDay{2026, 12, 8};

// A clock the test moves: the date and the instant.
class MovableClock : public Clock {
 public:
  Date Today() override { return today; }
  TimeOfDay Now() override { return {12, 0, 0}; }
  Instant Utc() override { return utc; }
  Date today = kDay;
  Instant utc = UtcInstant(kDay, kDayMorningUtc);
};

struct LedgerSession {
  explicit LedgerSession(int latencyMs = 0) {
    vendorsim::SimOptions options;
    options.date = kDay;
    options.races = 6;
    options.latencyMinMs = options.latencyMaxMs = latencyMs;
    sim = std::make_unique<vendorsim::VendorSim>(options);
    sim->Start();
    store = std::make_unique<SqliteArchive>(folder.path() / kArchiveFileName);
    archive = std::make_unique<SessionArchive>(*store);
    const Hosts hosts = sim->SimHosts();
    web = std::make_unique<RecordingHttpClient>(*curlWeb, *archive, hosts);
    zorvat = std::make_unique<RecordingHttpClient>(*curlZorvat, *archive, hosts);
    session = std::make_unique<Session>(
        SessionOptions{hosts, folder.path(), 8},
        SessionPorts{*web, *zorvat, browser, messages, progress, clock, archive.get()});
    session->Start();
  }
  Session* operator->() { return session.get(); }

  // The live figures of MySystem: bets, winners, late and withdrawn picks.
  std::tuple<int, int, int, int> Figures() {
    session->ShowProof({});
    const ProofSide& live = session->proof()->sides.front();
    int bets = 0, winners = 0;
    for (const auto& m : live.methods)
      if (m.method == kManualSystem) bets = m.bets, winners = m.winners;
    const auto apart = live.apartByMethod.find(kManualSystem);
    const ProofSide::Apart counts =
        apart == live.apartByMethod.end() ? ProofSide::Apart{} : apart->second;
    return {bets, winners, counts.late, counts.withdrawn};
  }

  // The runner of the race on screen that won, and the race's off.
  std::string Course() {
    const std::string& label = session->ws().u2;
    return label.substr(label.find(':') + 2);
  }
  int WinnerRow() {
    const std::string time = session->ws().u1;
    for (const auto& race : sim->day().races) {
      if (race.time != time || race.course != Course()) continue;
      for (const auto& r : race.runners)
        if (r.finish == 1)
          for (int i = 0; i < session->ws().TAB.RowCount(); ++i)
            if (session->ws().TAB.Text(i, tab::kName) == r.name) return i;
    }
    return -1;
  }
  Instant Off() { return *OffInstant(kDay, session->ws().u1, kMoscowOffsetMinutes); }

  testing::TempFolder folder;
  std::unique_ptr<vendorsim::VendorSim> sim;
  std::unique_ptr<SqliteArchive> store;
  std::unique_ptr<SessionArchive> archive;
  std::unique_ptr<HttpClient> curlWeb = MakeRedirectingClient(),
                              curlZorvat = MakeNonRedirectingClient(), web, zorvat;
  RecordingBrowser browser;
  RecordingMessages messages;
  SilentProgress progress;
  MovableClock clock;
  std::unique_ptr<Session> session;
};

TEST(LedgerRules, WaysToBendTheRecordLeaveTheFiguresAsTheyWere) {
  struct Case {
    const char* name;
    // Run with a settled bet on a loser of the race on screen in the ledger.
    std::function<void(LedgerSession&)> bend;
    int late, withdrawn;
  };
  const Case cases[] = {
      {"delete the settled loser after the off",
       [](LedgerSession& s) {
         s.clock.utc = s.Off() + std::chrono::hours(2);
         s->SelectReportRow(0);
         s->DeleteReportRow();
       },
       0, 0},
      {"delete the settled loser before the off (its results were in early)",
       [](LedgerSession& s) {
         s->SelectReportRow(0);
         s->DeleteReportRow();
       },
       0, 0},
      {"add the winner after the off",
       [](LedgerSession& s) {
         s.clock.utc = s.Off();
         s->AddToReport(s.WinnerRow());
       },
       1, 0},
      {"add the winner with the result on screen",
       [](LedgerSession& s) {
         s->LoadResults(FormatDate(kDay));
         s->AddToReport(s.WinnerRow());
       },
       1, 0},
  };
  for (const Case& c : cases) {
    LedgerSession s;
    ASSERT_EQ(s->SignIn({"demo", "demo"}), SignInResult::SignedIn);
    s->AnalyseLive(0);
    const int winner = s.WinnerRow();
    ASSERT_GE(winner, 0) << c.name;
    const int loser = winner == 0 ? 1 : 0;
    s->AddToReport(loser);
    s.clock.today = AddDays(kDay, 1);
    s.clock.utc = UtcInstant(s.clock.today, kDayMorningUtc);
    ASSERT_EQ(s->Settle().settled, 1) << c.name;
    s.clock.today = kDay;
    s.clock.utc = UtcInstant(kDay, kDayMorningUtc);
    const auto before = s.Figures();
    ASSERT_EQ(std::get<0>(before), 1) << c.name;
    ASSERT_EQ(std::get<1>(before), 0) << c.name;

    c.bend(s);
    s.clock.today = AddDays(kDay, 1);
    s->Settle();
    const auto [bets, winners, late, withdrawn] = s.Figures();
    EXPECT_EQ(bets, 1) << c.name;
    EXPECT_EQ(winners, 0) << c.name;
    EXPECT_EQ(late, c.late) << c.name;
    EXPECT_EQ(withdrawn, c.withdrawn) << c.name;
    EXPECT_TRUE(s.store->CheckLedger().intact) << c.name;
  }
}

TEST(LedgerRules, DeleteBeforeTheOffWithdrawsAndKeepsThePick) {
  LedgerSession s;
  ASSERT_EQ(s->SignIn({"demo", "demo"}), SignInResult::SignedIn);
  s->AnalyseLive(0);
  s->AddToReport(0);
  s->SelectReportRow(0);
  s->DeleteReportRow();
  EXPECT_EQ(s->ws().REP.RowCount(), 0);
  const auto picks = s.store->Picks();
  ASSERT_EQ(picks.size(), 1u);
  EXPECT_TRUE(picks[0].withdrawn);
  EXPECT_EQ(std::get<3>(s.Figures()), 1);
  const auto events = s.store->LedgerEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[1].event.kind, "withdrawn");
  s.clock.today = AddDays(kDay, 1);
  EXPECT_EQ(s->Settle().picks, 0) << "a withdrawn pick is not settled";
}

// Worked by hand: the results page of the day lacks one race on the first two fetches after the
// day, then shows it.
TEST(LedgerRules, ARaceMissingFromItsResultsIsSettledWhenItShows) {
  LedgerSession s(30);  // a slow server
  ASSERT_EQ(s->SignIn({"demo", "demo"}), SignInResult::SignedIn);
  s->AnalyseLive(0);
  const std::string time = s->ws().u1;
  const int winner = s.WinnerRow();
  ASSERT_GE(winner, 0);
  s->AddToReport(winner);
  const std::string resultsUrl = s->urls().Results(FormatDate(kDay));
  const HttpAnswer full = (*s.curlWeb).Get(resultsUrl);
  ASSERT_FALSE(full.failed);
  // The results without the race on screen: after the page's "(date)", each race is a line
  // ending with "<br>".
  const std::size_t header = full.body.find(')') + 1;
  ASSERT_GT(header, 0u);
  std::string partial = full.body.substr(0, header);
  std::size_t from = header, lines = 0;
  for (auto end = full.body.find("<br>", from); end != std::string::npos;
       end = full.body.find("<br>", from)) {
    const std::string line = full.body.substr(from, end + 4 - from);
    if (line.find(time) == std::string::npos || line.find(s.Course()) == std::string::npos) {
      partial += line;
    } else {
      ++lines;
    }
    from = end + 4;
  }
  partial += full.body.substr(from);
  ASSERT_EQ(lines, 1u) << "one line of the page is the race";
  s.sim->Override("/horse/rez.php", partial);

  struct Step {
    int daysAfter;
    bool fullPage;
    PickResult result;
    int settled, resettled;
  };
  const Step steps[] = {
      {1, false, PickResult::kUnsettled, 0, 0},  // missed once: may be late
      {1, false, PickResult::kUnsettled, 0, 0},  // the same day again: still once
      {2, false, PickResult::kVoid, 1, 0},       // missed on a later day: no result
      {3, true, PickResult::kWon, 0, 1},         // shown at last: settled again
      {4, true, PickResult::kWon, 0, 0},         // the same again: nothing new
  };
  for (const Step& step : steps) {
    if (step.fullPage) s.sim->ClearOverrides();
    s.clock.today = AddDays(kDay, step.daysAfter);
    s.clock.utc = UtcInstant(s.clock.today, kDayMorningUtc);
    const SettleSummary summary = s->Settle();
    const auto picks = s.store->Picks();
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_EQ(picks[0].result, step.result) << step.daysAfter;
    EXPECT_EQ(summary.settled, step.settled) << step.daysAfter;
    EXPECT_EQ(summary.resettled, step.resettled) << step.daysAfter;
  }
  std::vector<std::string> kinds;
  for (const auto& e : s.store->LedgerEvents()) kinds.push_back(e.event.kind);
  EXPECT_EQ(kinds, (std::vector<std::string>{"made", "settled", "resettled"}));
  EXPECT_EQ(std::get<1>(s.Figures()), 1) << "the figures take the latest settlement";
  EXPECT_TRUE(s.store->CheckLedger().intact);
}

}  // namespace
}  // namespace trotix
