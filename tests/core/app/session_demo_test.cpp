// The Session against the demo vendor server: a whole generated day, and its fault modes.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <locale>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "analysis/analyse_race.h"
#include "analysis/best_of.h"
#include "model/columns.h"
#include "support/session_harness.h"
#include "text/fields.h"
#include "vendorsim/vendor_sim.h"

namespace trotix {
namespace {

using namespace std::chrono_literals;
using vendorsim::FaultMode;

class SessionDemoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vendorsim::SimOptions options;
    options.date = {2026, 12, 8};
    sim = std::make_unique<vendorsim::VendorSim>(options);
    sim->Start();
    harness = std::make_unique<testing::SessionHarness>(sim->BaseUrl());
  }

  SignInResult SignIn() {
    harness->session->Start();
    return harness->session->SignIn({"demo", "demo"});
  }

  std::unique_ptr<vendorsim::VendorSim> sim;
  std::unique_ptr<testing::SessionHarness> harness;
};

TEST_F(SessionDemoTest, EveryRaceListedAndSameTimeRacesShowTheirOwnRunners) {
  ASSERT_EQ(SignIn(), SignInResult::SignedIn);
  Workspace& ws = harness->ws();
  const auto& races = sim->day().races;
  ASSERT_EQ(ws.RT.RowCount(), static_cast<int>(races.size()));
  EXPECT_GT(ws.TIPS.RowCount(), 0);
  EXPECT_GT(ws.LG.RowCount(), 0);

  std::map<std::string, int> byTime;
  int checked = 0;
  for (int r = 0; r < ws.MM.RowCount(); ++r) {
    auto [it, fresh] = byTime.emplace(ws.MM.Text(r, 1), r);
    if (fresh) continue;
    // Two races at one time at different courses: each card is its own.
    for (int row : {it->second, r}) {
      harness->session->ScoreZorvatRace(row);
      const auto& runners = races[row].runners;
      ASSERT_EQ(ws.TAB.RowCount(), static_cast<int>(runners.size()));
      EXPECT_EQ(ws.TAB.Text(0, 1), ReplaceText(runners[0].name, "'", ""));
      EXPECT_EQ(ws.u2, "Course: " + races[row].course);
      EXPECT_EQ(ws.H.RowCount(), ws.TAB.RowCount());
    }
    ++checked;
  }
  EXPECT_GT(checked, 0) << "the demo day should hold races at equal times";
}

TEST_F(SessionDemoTest, FailingTipsAndMovesFeedsDoNotStopTheDay) {
  sim->SetFault("/bc/tipsters.xml", FaultMode::kStatus500);
  sim->SetFault("/bc/move.xml", FaultMode::kDrop);
  ASSERT_EQ(SignIn(), SignInResult::SignedIn);
  EXPECT_EQ(harness->messages.shown.size(), 2u);
  EXPECT_EQ(harness->ws().TIPS.RowCount(), 0);
  EXPECT_EQ(harness->ws().LG.RowCount(), 0);
  EXPECT_GT(harness->ws().RT.RowCount(), 0);
  EXPECT_EQ(harness->session->view().activePage, kPageToday);
}

TEST_F(SessionDemoTest, DroppedResultsRequestShowsNoInformation) {
  ASSERT_EQ(SignIn(), SignInResult::SignedIn);
  harness->session->LoadResults("07.12.2026");
  ASSERT_GT(harness->ws().REZ.RowCount(), 0);
  sim->SetFault("/horse/rez.php", FaultMode::kDrop);
  harness->session->LoadResults("07.12.2026");
  EXPECT_EQ(harness->ws().REZ.RowCount(), 0);
  EXPECT_TRUE(harness->session->view().vizVisible);
  EXPECT_TRUE(harness->messages.shown.empty());
}

// The day loaded with requests side by side equals the day loaded one request after another:
// every table, colour, font, label and message.
TEST_F(SessionDemoTest, ConcurrentSignInEqualsSequentialSignIn) {
  for (const bool tipsFail : {false, true}) {
    if (tipsFail) sim->SetFault("/bc/tipsters.xml", FaultMode::kStatus500);
    testing::SessionHarness sequential(sim->BaseUrl(), {2026, 12, 8}, 1);
    testing::SessionHarness concurrent(sim->BaseUrl(), {2026, 12, 8}, 8);
    for (auto* h : {&sequential, &concurrent}) {
      h->session->Start();
      ASSERT_EQ(h->session->SignIn({"demo", "demo"}), SignInResult::SignedIn);
    }
    EXPECT_GT(concurrent.ws().T1.RowCount(), 0);
    EXPECT_EQ(concurrent.ws().TIPS.RowCount() == 0, tipsFail);
    for (std::size_t i = 0; i < concurrent.ws().Tables().size(); ++i)
      EXPECT_EQ(*concurrent.ws().Tables()[i].second, *sequential.ws().Tables()[i].second)
          << concurrent.ws().Tables()[i].first;
    EXPECT_EQ(concurrent.ws().Labels(), sequential.ws().Labels());
    EXPECT_EQ(concurrent.ws().IndicatorList, sequential.ws().IndicatorList);
    EXPECT_EQ(*concurrent.ws().ProcessBase, *sequential.ws().ProcessBase);
    EXPECT_EQ(*concurrent.ws().ScoreBase, *sequential.ws().ScoreBase);
    EXPECT_EQ(concurrent.messages.shown, sequential.messages.shown);
    EXPECT_EQ(concurrent.messages.shown.size(), tipsFail ? 1u : 0u);
  }
}

// A best-of run from real odds streams the day's runner pages side by side and analyses each race
// as its pages are in; its picks and final tables equal one request after another, and equal
// fetching each race's pages as the race comes.
TEST(SessionBestOfDemoTest, StreamedRealOddsRunEqualsRaceByRaceFetching) {
  vendorsim::SimOptions options;
  options.date = {2026, 12, 8};
  options.races = 8;
  vendorsim::VendorSim sim(options);
  sim.Start();

  testing::SessionHarness sequential(sim.BaseUrl(), options.date, 1);
  testing::SessionHarness concurrent(sim.BaseUrl(), options.date, 8);
  for (auto* h : {&sequential, &concurrent}) {
    h->session->Start();
    ASSERT_EQ(h->session->SignIn({"demo", "demo"}), SignInResult::SignedIn);
  }
  Workspace raceByRace = concurrent.ws();
  std::vector<std::string> pages;
  for (int k = 0; k < raceByRace.MM.RowCount(); ++k)
    for (auto& page : RealOddsPages(raceByRace, k, concurrent.session->urls()))
      pages.push_back(std::move(page));
  ASSERT_GT(pages.size(), 0u) << "the small day should have races on the exchange";

  const int before = sim.Requests("/betting/*");
  concurrent.session->RunBestRank(true);
  // Every page once: the races read the streamed pages instead of asking again.
  EXPECT_EQ(sim.Requests("/betting/*") - before, static_cast<int>(pages.size()));
  concurrent.session->RunBestRecoming(true);
  sequential.session->RunBestRank(true);
  sequential.session->RunBestRecoming(true);

  CurlHttpClient client;
  const PageFetcher fetch = [&](const std::vector<std::string>& urls) {
    std::vector<std::string> bodies;
    for (const auto& a : client.GetMany(urls, 1, nullptr)) bodies.push_back(BodyOrEmpty(a));
    return bodies;
  };
  for (const auto system : {BestOfSystem::kBestRank, BestOfSystem::kBestRecoming})
    RunBestOf(raceByRace, system, [&](Workspace& ws, int k) {
      AnalyseRace(ws, k, true, concurrent.session->urls(), fetch);
    });

  const Workspace& ws = concurrent.ws();
  EXPECT_GT(ws.REP.RowCount(), 0);
  EXPECT_FALSE(ws.T2.RowCount() == 0 && ws.bfnumber.empty());
  for (const Workspace* other : {&sequential.ws(), &raceByRace}) {
    for (std::size_t i = 0; i < ws.Tables().size(); ++i)
      EXPECT_EQ(*ws.Tables()[i].second, *other->Tables()[i].second) << ws.Tables()[i].first;
    EXPECT_EQ(ws.Labels(), other->Labels());
  }
  EXPECT_EQ(concurrent.messages.shown, sequential.messages.shown);
}

// Runner pages padded to 2 MiB read as the plain ones do; one byte more and every page is a failed
// page, refused while it streams and said once, on a server answering each request in 100 ms.
TEST(SessionBestOfDemoTest, RunnerPagesAboveTwoMebibytesAreFailedPages) {
  constexpr std::size_t kCap = std::size_t{2} << 20;
  vendorsim::SimOptions options;
  options.date = {2026, 12, 8};
  options.races = 3;
  options.latencyMinMs = options.latencyMaxMs = 100;
  std::unique_ptr<Workspace> plain;
  int pages = 0;
  for (const std::size_t pad : {std::size_t{0}, kCap, kCap + 1}) {
    SCOPED_TRACE(pad);
    options.padRunnerPages = pad;
    vendorsim::VendorSim sim(options);
    sim.Start();
    testing::SessionHarness h(sim.BaseUrl(), options.date);
    h.session->Start();
    ASSERT_EQ(h.session->SignIn({"demo", "demo"}), SignInResult::SignedIn);
    h.session->RunBestRank(true);
    if (pad == 0) {
      for (int k = 0; k < h.ws().MM.RowCount(); ++k)
        pages += static_cast<int>(RealOddsPages(h.ws(), k, h.session->urls()).size());
      ASSERT_GT(pages, 0);
      plain = std::make_unique<Workspace>(h.ws());
      EXPECT_GT(plain->T2.RowCount(), 0);
      EXPECT_TRUE(h.messages.shown.empty());
    } else if (pad == kCap) {
      for (std::size_t i = 0; i < plain->Tables().size(); ++i)
        EXPECT_EQ(*h.ws().Tables()[i].second, *plain->Tables()[i].second)
            << plain->Tables()[i].first;
      EXPECT_TRUE(h.messages.shown.empty());
    } else {
      EXPECT_EQ(h.messages.shown,
                std::vector<std::string>{std::to_string(pages) + " of " + std::to_string(pages) +
                                         " runner pages failed: too large"});
    }
  }
}

// Against a server answering each request in 200 ms: races are shown long before the run ends; a
// Cancel from another thread, some time after the first row, ends the command within a second and
// leaves exactly the rows and tables shown at that moment; no request follows.
TEST(SessionBestOfDemoTest, CancelOnASlowServerKeepsWhatWasShown) {
  using Clock = StopSignal::Clock;
  vendorsim::SimOptions options;
  options.date = {2026, 12, 8};
  options.races = 12;
  options.latencyMinMs = options.latencyMaxMs = 200;
  vendorsim::VendorSim sim(options);
  sim.Start();
  testing::SessionHarness h(sim.BaseUrl(), options.date);
  h.session->Start();
  ASSERT_EQ(h.session->SignIn({"demo", "demo"}), SignInResult::SignedIn);
  const int races = h.ws().MM.RowCount();

  std::mutex mutex;
  std::condition_variable rowShown;
  WorkspaceView shown = h.ws().view();
  int steps = 0;
  // What the user sees: each race as it is shown, never one that comes after the Cancel.
  h.progress.onStep = [&](const Workspace& ws, const RaceStep&) {
    std::lock_guard lock(mutex);
    if (h.progress.stop.cancelled()) return false;
    shown = ws.view();
    ++steps;
    rowShown.notify_all();
    return true;
  };
  WorkspaceView atCancel;
  int stepsAtCancel = -1;
  Clock::time_point firstRow, cancelled;
  std::thread user([&] {
    std::unique_lock lock(mutex);
    if (!rowShown.wait_for(lock, 30s, [&] { return shown.REP.RowCount() > 0; })) return;
    firstRow = Clock::now();
    // The next pages are on their way when the user gets to the button.
    rowShown.wait_for(lock, 100ms, [] { return false; });
    cancelled = Clock::now();
    h.progress.stop.Cancel();
    atCancel = shown;
    stepsAtCancel = steps;
  });
  const auto started = Clock::now();
  h.session->RunBestRank(true);
  const auto ended = Clock::now();
  user.join();
  const int requests = sim.Requests("*");

  ASSERT_GT(stepsAtCancel, 0) << "no row was shown";
  EXPECT_LT(firstRow - started, (ended - started) / 2);  // rows came long before the end
  EXPECT_LT(ended - cancelled, 1s);
  EXPECT_LT(stepsAtCancel, races);
  EXPECT_EQ(h.progress.steps, stepsAtCancel);
  for (std::size_t i = 0; i < atCancel.Tables().size(); ++i)
    EXPECT_EQ(*h.ws().Tables()[i].second, *atCancel.Tables()[i].second)
        << atCancel.Tables()[i].first;
  EXPECT_EQ(h.ws().Labels(), atCancel.Labels());
  EXPECT_FALSE(h.progress.pr2Visible);
  EXPECT_TRUE(h.messages.shown.empty());
  std::this_thread::sleep_for(2 * 200ms);
  EXPECT_EQ(sim.Requests("*"), requests);
}

// With the exchange or the data server silent and a one-second deadline, each command ends at the
// deadline as a Cancel would, and says so: nothing it was fetching is applied. The live analysis
// keeps what it showed before its pages: the race from memory, its exchange figures not loaded.
TEST(SessionDeadlineTest, StalledServerEndsTheCommandAtTheDeadline) {
  using Clock = StopSignal::Clock;
  vendorsim::SimOptions options;
  options.date = {2026, 12, 8};
  options.races = 6;
  vendorsim::VendorSim sim(options);
  sim.Start();
  testing::SessionHarness h(sim.BaseUrl(), options.date, 8, {}, 1s);
  h.session->Start();
  const std::vector<std::string> said = {"Stopped: no answer within 1 s"};

  sim.SetFault("/login/*", FaultMode::kStall);
  auto started = Clock::now();
  EXPECT_EQ(h.session->SignIn({"demo", "demo"}), SignInResult::Stopped);
  EXPECT_LT(Clock::now() - started, 5s);
  EXPECT_EQ(h.messages.shown, said);
  EXPECT_FALSE(h.session->view().signedIn);
  EXPECT_EQ(h.ws().RT.RowCount(), 0);

  sim.ClearFaults();
  h.messages.shown.clear();
  ASSERT_EQ(h.session->SignIn({"demo", "demo"}), SignInResult::SignedIn);
  EXPECT_FALSE(h.ws().CourseTable.empty());
  h.session->ScoreZorvatRace(0);
  const Workspace before = h.ws();
  sim.SetFault("/betting/*", FaultMode::kStall);
  int k = 0;
  while (!sim.day().races[k].onExchange()) ++k;
  started = Clock::now();
  h.session->AnalyseLive(k);
  EXPECT_LT(Clock::now() - started, 5s);
  EXPECT_EQ(h.messages.shown, said);
  // The day's lists and the exchange's table are as they were; the race is on screen.
  for (std::size_t i = 0; i < before.Tables().size(); ++i) {
    const std::string name = before.Tables()[i].first;
    if (name == "TAB" || name == "R" || name == "RR") continue;
    EXPECT_EQ(*h.ws().Tables()[i].second, *before.Tables()[i].second) << name;
  }
  EXPECT_EQ(h.session->view().raceOnScreen, k);
  EXPECT_EQ(h.session->view().exchangePrices, "exchange prices not loaded");
  EXPECT_EQ(h.ws().u1, h.ws().MM.Text(k, mm::kTime));
  EXPECT_EQ(h.ws().u8, "Summ Betfair: not loaded");
  ASSERT_GT(h.ws().TAB.RowCount(), 1);
  EXPECT_EQ(h.ws().R.RowCount(), h.ws().TAB.RowCount());
  for (int i = 0; i < h.ws().TAB.RowCount(); ++i)
    for (const int col : {tab::kKf, tab::kBf}) {
      EXPECT_EQ(h.ws().TAB.At(i, col).hint, "not loaded");
      EXPECT_EQ(h.ws().TAB.Number(i, col), 0);
    }
  EXPECT_FALSE(h.session->view().tvbuttonEnabled);
}

TEST_F(SessionDemoTest, CourseTableFailureOnlyLosesTheFlags) {
  sim->SetFault("/horse/zabeg.txt", FaultMode::kStatus500);
  ASSERT_EQ(SignIn(), SignInResult::SignedIn);
  Workspace& ws = harness->ws();
  EXPECT_TRUE(ws.CourseTable.empty());
  for (int r = 0; r < ws.RT.RowCount(); ++r) EXPECT_EQ(ws.RT.Image(r, 0), 0);
}

// A whole day's best-of runs exported: every price in report.csv is a number a spreadsheet in
// any language reads, and every record carries the day.
TEST_F(SessionDemoTest, EveryOddsOfReportCsvParsesAsANumber) {
  ASSERT_EQ(SignIn(), SignInResult::SignedIn);
  harness->session->RunBestRank(true);
  harness->session->RunBestRecoming(true);
  harness->session->ExportReportCsv();
  std::ifstream file(harness->folder.path() / "report.csv", std::ios::binary);
  std::string line;
  ASSERT_TRUE(std::getline(file, line));
  EXPECT_EQ(line, "Date,Time,Course,Name Horse,Odds,System\r");
  int prices = 0, records = 0;
  while (std::getline(file, line)) {
    ++records;
    EXPECT_EQ(line.rfind("08.12.2026,", 0), 0u) << line;
    // No field of a demo day is quoted: the fifth is the price.
    std::vector<std::string> fields(1);
    for (char c : line.substr(0, line.size() - 1))
      c == ',' ? fields.emplace_back() : fields.back() += c;
    ASSERT_EQ(fields.size(), 6u) << line;
    if (fields[4].empty()) continue;  // no price
    ++prices;
    std::istringstream in(fields[4]);
    in.imbue(std::locale::classic());
    double odds = 0;
    in >> odds;
    EXPECT_TRUE(in && in.eof() && odds > 1) << fields[4];
  }
  EXPECT_EQ(records, harness->ws().REP.RowCount());
  EXPECT_GT(prices, records / 2);
}

}  // namespace
}  // namespace trotix

namespace trotix {
namespace {

// Threads and lifetimes: the data server changed in the settings and a command started at once.
// The new server's course table is a step of the command that needs it, on that command's
// thread, so the live analysis shares no client with it (a client aborts when a second thread
// enters) and waits for none of it, while it stalls; the results then ask for it.
TEST(SessionThreads, NewDataServerAndALiveAnalysisAtOnce) {
  vendorsim::SimOptions options;
  options.date = {2026, 12, 8};
  options.races = 6;
  vendorsim::VendorSim sim(options);
  sim.Start();
  CurlHttpOptions http;
  http.requestTimeout = 2s;
  testing::SessionHarness h(sim.BaseUrl(), options.date, 8, http);
  h.session->Start();
  ASSERT_EQ(h.session->SignIn({"demo", "demo"}), SignInResult::SignedIn);
  int k = 0;
  while (!sim.day().races[k].onExchange()) ++k;

  sim.SetFault("/horse/zabeg.txt", FaultMode::kStall);
  const int tables = sim.Requests("/horse/zabeg.txt");
  SessionOptions changed = h.session->options();
  // The same server by another name is a new data server to the Session.
  changed.hosts.dataServer =
      "http://localhost:" + sim.BaseUrl().substr(sim.BaseUrl().rfind(':') + 1);
  h.session->UseSettings(changed);
  h.session->AnalyseLive(k);
  EXPECT_GT(h.ws().R.RowCount(), 0);
  EXPECT_EQ(sim.Requests("/horse/zabeg.txt"), tables);  // no command has needed it yet

  h.session->LoadResults("08.12.2026");
  EXPECT_EQ(sim.Requests("/horse/zabeg.txt"), tables + 1);
  EXPECT_GT(h.ws().REZ.RowCount(), 0);
  EXPECT_TRUE(h.ws().CourseTable.empty());  // it stalled: the flags are missing, nothing else
}

}  // namespace
}  // namespace trotix
