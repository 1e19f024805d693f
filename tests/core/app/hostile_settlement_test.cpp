// "Settle" against a vendor that answers to break it: huge unclosed runner records, a runner
// record cut short before a non-runner, prices of 1e70, control characters in names; and a settle
// that Cancel or the deadline stops writes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

#include "app/proof_figures.h"
#include "app/recording_ports.h"
#include "app/session.h"
#include "archive/recording_http_client.h"
#include "archive/session_archive.h"
#include "archive/sqlite_archive.h"
#include "model/prices.h"
#include "net/curl_http_client.h"
#include "support/fixture_server.h"
#include "support/session_harness.h"
#include "support/temp_folder.h"
#include "text/strings.h"
#include "vendorsim/vendor_sim.h"

namespace trotix {
namespace {

constexpr Date kDay{2026, 12, 8};

// The archive of a live session that lets a test act when a day's text is read back: for a
// settle, after the results are in and before any verdict.
class HookedArchive : public SessionArchive {
 public:
  using SessionArchive::SessionArchive;
  std::string LastAnswer(const Date& day, const RequestKey& key) override {
    if (onLastAnswer) onLastAnswer();
    return SessionArchive::LastAnswer(day, key);
  }
  std::function<void()> onLastAnswer;
};

// A Session recording into the archive of a temporary folder, against one server for every host.
struct SettlingSession {
  // Not started: no course table is fetched, which "Settle" does not need.
  struct NotStarted {};

  SettlingSession(const Hosts& hosts, NotStarted,
                  std::chrono::milliseconds deadline = SessionOptions().deadline)
      : store(folder.path() / kArchiveFileName),
        archive(store),
        curlWeb(MakeRedirectingClient()),
        curlZorvat(MakeNonRedirectingClient()),
        web(*curlWeb, archive, hosts),
        zorvat(*curlZorvat, archive, hosts),
        clock(kDay),
        session(SessionOptions{hosts, folder.path(), 8, deadline},
                SessionPorts{web, zorvat, browser, messages, progress, clock, &archive}) {}
  explicit SettlingSession(const Hosts& hosts) : SettlingSession(hosts, NotStarted{}) {
    session.Start();
  }
  void AddPicks(const std::vector<Pick>& picks) {
    archive.BeginCommand();
    for (const Pick& p : picks) archive.AddPick(p);
    archive.CommitCommand();
  }

  testing::TempFolder folder;
  SqliteArchive store;
  HookedArchive archive;
  // One client per port: the sign-in uses both at once.
  std::unique_ptr<HttpClient> curlWeb, curlZorvat;
  RecordingHttpClient web, zorvat;
  RecordingBrowser browser;
  RecordingMessages messages;
  testing::RecordingProgress progress;
  FixedClock clock;
  Session session;
};

Pick PickOf(const std::string& course, const std::string& runner,
            std::optional<double> price = std::nullopt) {
  Pick p;
  p.day = kDay;
  p.time = "14:30";
  p.course = course;
  p.runner = runner;
  p.system = "Best Rank";
  p.price = price;
  return p;
}

std::string Race(const std::string& course, const std::string& runners) {
  return "<zabeg><course>" + course + "</course><time>14:30</time><name>Maiden</name>" + runners +
         "</zabeg>\r\n";
}

std::string Runner(const std::string& number, const std::string& name) {
  return "<horse><number>" + number + "</number><name_horse>" + name + "</name_horse></horse>";
}

std::string Results(const std::string& course, const std::string& winnerSp) {
  return "<html><body>(08.12.2026)\r\n14:30>>" + course + ">>http://r/1.html>>12 Dune>>" +
         winnerSp + ">>3 Sea Bird>>1001.00>>5 Old Tom>>1000.00>>>>>><br>\r\n</body></html>";
}

struct Expected {
  std::string runner;
  PickResult result;
  std::optional<double> sp;
};

TEST(HostileSettlement, EachPickGetsItsVerdict) {
  const std::string field = Runner("12", "Dune") + Runner("3", "Sea Bird") +
                            Runner("5", "Old Tom") + Runner("2", "Slow Boat") +
                            Runner("NR", "Stayed Home");
  struct Case {
    std::string what, course, day, results;
    std::vector<Pick> picks;
    std::vector<Expected> expected;
  };
  const std::vector<Expected> usual = {{"Dune", PickResult::kWon, 2.10},
                                       {"Slow Boat", PickResult::kUnplaced, std::nullopt},
                                       {"Stayed Home", PickResult::kVoid, std::nullopt}};
  const auto usualPicks = [](const std::string& course) {
    return std::vector<Pick>{PickOf(course, "Dune"), PickOf(course, "Slow Boat"),
                             PickOf(course, "Stayed Home")};
  };
  std::vector<Case> cases;
  // A race followed by ever more unclosed runner records, which once took minutes to settle.
  for (const int kb : {70, 140, 280, 560, 1120}) {
    std::string padding;
    for (int i = 0; i < kb * 1024 / 7; ++i) padding += "<horse>";
    cases.push_back({std::to_string(kb) + " KB of unclosed runner records", "Ascot",
                     Race("Ascot", field + padding), Results("Ascot", "2.10"), usualPicks("Ascot"),
                     usual});
  }
  // The record of a runner is cut short by the next one, a non-runner: the non-runner's "NR"
  // is not the runner's, and a runner missing from a card that is not whole still ran.
  cases.push_back({"a runner record cut short before a non-runner",
                   "Ascot",
                   Race("Ascot", Runner("12", "Dune") + "<horse><name_horse>Lost Number" +
                                     "</name_horse>" + Runner("NR", "Stayed Home")),
                   Results("Ascot", "2.10"),
                   {PickOf("Ascot", "Lost Number"), PickOf("Ascot", "Stayed Home"),
                    PickOf("Ascot", "Stranger")},
                   {{"Lost Number", PickResult::kUnplaced, std::nullopt},
                    {"Stayed Home", PickResult::kVoid, std::nullopt},
                    {"Stranger", PickResult::kUnplaced, std::nullopt}}});
  // Starting prices beyond the exchange's largest are no prices; the largest is one.
  cases.push_back({"a starting price of 1e70",
                   "Ascot",
                   Race("Ascot", field),
                   Results("Ascot", "1" + std::string(70, '0') + ".00"),
                   {PickOf("Ascot", "Dune", 1e70), PickOf("Ascot", "Sea Bird", 1001),
                    PickOf("Ascot", "Old Tom", 1000)},
                   {{"Dune", PickResult::kWon, std::nullopt},
                    {"Sea Bird", PickResult::kPlaced, std::nullopt},
                    {"Old Tom", PickResult::kPlaced, 1000}}});
  for (const std::string course : {"Asc\x1b[2Jot", "Ascot\r\nopened: x", "\xE2\x80\xAEtocsA"})
    cases.push_back({"control characters in the course", course, Race(course, field),
                     Results(course, "2.10"), usualPicks(course), usual});

  for (const Case& c : cases) {
    testing::FixtureServer vendor;
    vendor.Set("/refresh/trotix3.8.txt", "ok");
    vendor.Set("/login/trotix.php", c.day);
    vendor.Set("/horse/rez.php", c.results);
    const std::string base = vendor.Base();
    SettlingSession s({base, base, base, base, base});
    ASSERT_EQ(s.session.SignIn({"a", "b"}), SignInResult::SignedIn) << c.what;
    s.AddPicks(c.picks);
    const SettleSummary summary = s.session.Settle();
    EXPECT_EQ(summary.settled, static_cast<int>(c.picks.size())) << c.what;
    const std::vector<Pick> ledger = s.store.Picks();
    ASSERT_EQ(ledger.size(), c.expected.size()) << c.what;
    for (const Expected& e : c.expected) {
      const auto p = std::find_if(ledger.begin(), ledger.end(),
                                  [&](const Pick& q) { return q.runner == e.runner; });
      ASSERT_NE(p, ledger.end()) << c.what << ": " << e.runner;
      EXPECT_EQ(p->result, e.result) << c.what << ": " << e.runner;
      EXPECT_EQ(p->sp, e.sp) << c.what << ": " << e.runner;
      EXPECT_EQ(p->course, c.course) << c.what << ": the ledger keeps the name as sent";
      // No price beyond the exchange's reaches the figures, and none is written out of bounds.
      const proof::Bet bet = BetOfPick(*p);
      EXPECT_TRUE(!bet.price || *bet.price <= kLargestPrice) << c.what << ": " << e.runner;
      EXPECT_TRUE(!bet.sp || *bet.sp <= kLargestPrice) << c.what << ": " << e.runner;
    }
    const std::string csv = PickLinesCsv(PickLines(ProofBets(ledger, {}), "Best Rank"));
    for (const std::string& line : SplitLines(csv)) EXPECT_LT(line.size(), 200u) << c.what;
  }
}

// Against a server answering in 300 ms: Cancel while the results are on their way, as the last
// answer arrives, while the verdicts are worked out, and the deadline: no pick changes, the next
// settle settles them all.
TEST(HostileSettlement, StoppedSettleChangesNoPick) {
  vendorsim::SimOptions options;
  options.date = kDay;
  options.races = 6;
  options.latencyMinMs = options.latencyMaxMs = 300;
  vendorsim::VendorSim sim(options);
  sim.Start();
  SettlingSession s(sim.SimHosts());
  ASSERT_EQ(s.session.SignIn({"demo", "demo"}), SignInResult::SignedIn);
  s.session.RunBestRank(false);
  const std::vector<Pick> before = s.store.Picks();
  ASSERT_FALSE(before.empty());
  const auto unchanged = [&](const char* what) {
    const std::vector<Pick> now = s.store.Picks();
    ASSERT_EQ(now.size(), before.size()) << what;
    for (std::size_t i = 0; i < now.size(); ++i) {
      EXPECT_EQ(now[i].result, PickResult::kUnsettled) << what << ": " << now[i].runner;
      EXPECT_EQ(now[i].settled, "") << what;
    }
  };

  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  std::thread user([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    s.progress.stop.Cancel();
  });
  SettleSummary summary = s.session.Settle();
  user.join();
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(290)) << "Cancel ends the wait";
  EXPECT_EQ(summary.settled, 0);
  unchanged("Cancel during the fetch");

  s.progress.stop.Reset();
  s.progress.onGauge = [&](Progress::Gauge gauge, int value) {
    if (gauge == Progress::kPr && value > 0) s.progress.stop.Cancel();
  };
  summary = s.session.Settle();
  EXPECT_EQ(summary.settled, 0);
  unchanged("Cancel as the results arrive");
  s.progress.onGauge = nullptr;
  s.progress.stop.Reset();

  // Ctrl+C while the verdicts are worked out.
  s.archive.onLastAnswer = [&] { s.progress.stop.Cancel(); };
  summary = s.session.Settle();
  EXPECT_EQ(summary.settled, 0);
  unchanged("Cancel while judging");
  s.archive.onLastAnswer = nullptr;
  s.progress.stop.Reset();

  SettlingSession late(sim.SimHosts(), SettlingSession::NotStarted{},
                       std::chrono::milliseconds(150));
  late.AddPicks(before);
  summary = late.session.Settle();
  EXPECT_EQ(summary.settled, 0);
  EXPECT_FALSE(late.session.failures().empty()) << "the deadline is said";
  for (const Pick& p : late.store.Picks()) EXPECT_EQ(p.result, PickResult::kUnsettled);

  summary = s.session.Settle();
  EXPECT_EQ(summary.settled, static_cast<int>(before.size()));
  EXPECT_TRUE(s.store.UnsettledPicks().empty());
}

}  // namespace
}  // namespace trotix
