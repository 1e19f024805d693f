// Every request the Session makes, against every fault the demo server can show. Each case
// checks the defined outcome and that nothing the user had is lost (the remember-me file, the
// report list, the last analysis). With TROTIX_FAULT_TABLE set, the observed outcomes are
// written there as a Markdown table.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/remember_me.h"
#include "exchange/indicator_race.h"
#include "support/session_harness.h"
#include "text/dates.h"
#include "vendorsim/vendor_sim.h"

namespace trotix {
namespace {

using vendorsim::FaultMode;

constexpr FaultMode kModes[] = {FaultMode::kStatus500, FaultMode::kDrop,    FaultMode::kStall,
                                FaultMode::kTruncate,  FaultMode::kGarbage, FaultMode::kOversize};
constexpr Date kToday{2026, 12, 8};
constexpr const char* kSavedLogin = "demo\r\ndemo\r\n";

bool Fails(FaultMode m) {
  return m != FaultMode::kGarbage;
}

// Sanitizer builds run several times slower; their make targets stretch the time-outs.
int TimeoutScale() {
  const char* scale = std::getenv("TROTIX_TIMEOUT_SCALE");
  return scale != nullptr && std::atoi(scale) > 0 ? std::atoi(scale) : 1;
}

// One case: a small demo day, short time-outs, a remember-me file from an earlier run.
struct Case {
  Case() {
    vendorsim::SimOptions options;
    options.date = kToday;
    options.races = 6;
    sim = std::make_unique<vendorsim::VendorSim>(options);
    sim->Start();
    CurlHttpOptions http;
    // Stalled answers end by time-out; short ones keep the matrix quick.
    http.connectTimeout = http.requestTimeout = std::chrono::milliseconds(300 * TimeoutScale());
    harness = std::make_unique<testing::SessionHarness>(sim->BaseUrl(), kToday, 8, http);
    std::ofstream(harness->folder.path() / kRememberMeFile, std::ios::binary) << kSavedLogin;
  }
  ~Case() { sim->Stop(); }

  Session& session() { return *harness->session; }
  Workspace& ws() { return harness->ws(); }
  void Start() { session().Start(); }
  // As the window does: the fields start-up filled from tx.log.
  void SignIn() {
    const ViewState& v = session().view();
    signIn = session().SignIn({v.login, v.password, v.rememberMe});
  }
  void StartAndSignIn() {
    Start();
    SignIn();
  }
  std::string RememberMe() const {
    std::ifstream in(harness->folder.path() / kRememberMeFile, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  const std::vector<std::string>& messages() const { return harness->messages.shown; }

  std::unique_ptr<vendorsim::VendorSim> sim;
  std::unique_ptr<testing::SessionHarness> harness;
  std::optional<SignInResult> signIn;
};

// The tables a later fault must leave alone.
struct Kept {
  explicit Kept(const Workspace& ws) : TAB(ws.TAB), H(ws.H), RF(ws.RF), REP(ws.REP) {}
  bool operator==(const Kept&) const = default;
  Table TAB, H, RF, REP;
};

struct Request {
  std::string name;     // as the table shows it
  std::string pattern;  // the paths it asks for
  // Runs the Session up to the request with the fault set; returns what must be unchanged
  // afterwards, when the request comes after the sign-in.
  std::function<std::optional<Kept>(Case&, FaultMode)> act;
  // Asserts the defined outcome and describes what this request left behind.
  std::function<std::string(Case&, FaultMode)> check;
};

std::string Count(const char* what, int n) {
  return n == 0 ? std::string(what) + " empty"
                : std::string(what) + " " + std::to_string(n) + " rows";
}

// Signed in as the day asks: every race listed, working pages shown.
void ExpectDayLoaded(Case& r) {
  ASSERT_EQ(r.signIn, SignInResult::SignedIn);
  EXPECT_EQ(r.ws().RT.RowCount(), static_cast<int>(r.sim->day().races.size()));
  EXPECT_EQ(r.session().view().activePage, kPageToday);
}

// Sets the fault, signs in; the earlier start-up ran without it.
std::optional<Kept> FaultAtSignIn(Case& r, const std::string& pattern, FaultMode mode) {
  r.Start();
  r.sim->SetFault(pattern, mode);
  r.SignIn();
  return std::nullopt;
}

// Signs in cleanly, scores the first race (the last analysis), then sets the fault.
Kept SignedInWithAnalysis(Case& r, const std::string& pattern, FaultMode mode) {
  r.StartAndSignIn();
  EXPECT_EQ(r.signIn, SignInResult::SignedIn);
  r.session().ScoreZorvatRace(0);
  EXPECT_GT(r.ws().H.RowCount(), 0);
  r.sim->SetFault(pattern, mode);
  return Kept(r.ws());
}

int RaceOnExchange(Case& r) {
  const auto& races = r.sim->day().races;
  for (int k = 0; k < static_cast<int>(races.size()); ++k)
    if (races[k].onExchange()) return k;
  return 0;
}

// Signs in cleanly, puts one runner into the report by hand, then sets the fault.
void AddManualPick(Case& r, const std::string& pattern, FaultMode mode) {
  r.StartAndSignIn();
  EXPECT_EQ(r.signIn, SignInResult::SignedIn);
  r.session().AnalyseWithoutOdds(0);
  r.session().AddToReport(0);
  r.harness->messages.shown.clear();
  r.sim->SetFault(pattern, mode);
}

// Every page of the command failed, and one message says how many and why.
void ExpectFailedPagesSaid(Case& r, FaultMode m) {
  if (!Fails(m)) {
    EXPECT_TRUE(r.messages().empty());
    return;
  }
  ASSERT_EQ(r.messages().size(), 1u);
  std::smatch parts;
  const std::string& text = r.messages()[0];
  ASSERT_TRUE(
      std::regex_match(text, parts, std::regex("([0-9]+) of ([0-9]+) runner pages failed: .+")))
      << text;
  EXPECT_EQ(parts[1], parts[2]) << text;
  if (m == FaultMode::kStall) {
    EXPECT_TRUE(text.ends_with(": timed out")) << text;
  }
}

void ExpectManualPickKept(Case& r) {
  ASSERT_GE(r.ws().REP.RowCount(), 1);
  EXPECT_EQ(r.ws().REP.Text(0, 4), "MySystem");
}

std::vector<Request> Requests() {
  std::vector<Request> list;
  list.push_back({"start-up: course table", "/horse/zabeg.txt",
                  [](Case& r, FaultMode m) {
                    r.sim->SetFault("/horse/zabeg.txt", m);
                    r.StartAndSignIn();
                    return std::nullopt;
                  },
                  [](Case& r, FaultMode m) {
                    ExpectDayLoaded(r);
                    EXPECT_TRUE(r.messages().empty());
                    if (Fails(m)) {
                      EXPECT_TRUE(r.ws().CourseTable.empty());
                      for (int row = 0; row < r.ws().RT.RowCount(); ++row)
                        EXPECT_EQ(r.ws().RT.Image(row, 0), 0);
                    }
                    return r.ws().CourseTable.empty()
                               ? std::string("no flags")
                               : "course table of " + std::to_string(r.ws().CourseTable.size()) +
                                     " lines";
                  }});
  list.push_back({"sign-in: version probe", "/refresh/*",
                  [](Case& r, FaultMode m) { return FaultAtSignIn(r, "/refresh/*", m); },
                  [](Case& r, FaultMode m) {
                    switch (m) {
                      case FaultMode::kStatus500:
                        // A server that answers, but not 200/302: this release is outdated.
                        EXPECT_EQ(r.signIn, SignInResult::UpdateRequired);
                        EXPECT_TRUE(r.session().closeRequested());
                        EXPECT_EQ(r.harness->browser.opened.size(), 1u);
                        break;
                      case FaultMode::kDrop:
                      case FaultMode::kStall:
                        EXPECT_EQ(r.signIn, SignInResult::ConnectionFailed);
                        EXPECT_EQ(r.messages(), std::vector<std::string>{kConnectionFailed});
                        EXPECT_FALSE(r.session().closeRequested());
                        break;
                      default:
                        // The status line said 200: the release is current, whatever the body.
                        ExpectDayLoaded(r);
                        EXPECT_TRUE(r.messages().empty());
                    }
                    return std::string(
                        r.session().closeRequested() ? "update page opened, window closes" : "");
                  }});
  list.push_back({"sign-in: login", "/login/*",
                  [](Case& r, FaultMode m) { return FaultAtSignIn(r, "/login/*", m); },
                  [](Case& r, FaultMode m) {
                    if (Fails(m)) {
                      EXPECT_EQ(r.signIn, SignInResult::ConnectionFailed);
                      EXPECT_EQ(r.messages(), std::vector<std::string>{kConnectionFailed});
                      EXPECT_FALSE(r.session().view().signedIn);
                      EXPECT_TRUE(r.session().view().tabVisible[kPageAbout]);
                    } else {
                      // Anything but "Fail..." is the day; random bytes hold no race, and the
                      // user is told.
                      EXPECT_EQ(r.signIn, SignInResult::SignedIn);
                      EXPECT_EQ(r.ws().RT.RowCount(), 0);
                      EXPECT_EQ(r.messages(), std::vector<std::string>{kNoRaces});
                    }
                    return Count("RT", r.ws().RT.RowCount());
                  }});
  list.push_back({"sign-in: indicator file", "/file/tx*",
                  [](Case& r, FaultMode m) { return FaultAtSignIn(r, "/file/tx*", m); },
                  [](Case& r, FaultMode m) {
                    ExpectDayLoaded(r);
                    EXPECT_TRUE(r.messages().empty());
                    if (Fails(m)) {
                      EXPECT_TRUE(r.ws().IndicatorList.empty());
                    }
                    return r.ws().IndicatorList.empty()
                               ? std::string("no indicator list")
                               : "indicator list of " +
                                     std::to_string(r.ws().IndicatorList.size()) + " lines";
                  }});
  list.push_back({"sign-in: Zorvat tables", "/zorvat/*",
                  [](Case& r, FaultMode m) {
                    FaultAtSignIn(r, "/zorvat/*", m);
                    // Scoring must cope with whatever the tables hold.
                    if (r.signIn == SignInResult::SignedIn) r.session().ScoreZorvatRace(0);
                    return std::nullopt;
                  },
                  [](Case& r, FaultMode m) {
                    ExpectDayLoaded(r);
                    EXPECT_TRUE(r.messages().empty());
                    EXPECT_EQ(r.ws().RF.RowCount(), 1);
                    if (Fails(m)) {
                      EXPECT_TRUE(r.ws().ProcessBase->empty());
                      EXPECT_TRUE(r.ws().ScoreBase->empty());
                    }
                    EXPECT_EQ(r.ws().H.RowCount(), r.ws().TAB.RowCount());
                    return std::string(r.ws().ScoreBase->empty() ? "tables empty"
                                                                 : "tables hold the bytes") +
                           ", race scored: " + Count("H", r.ws().H.RowCount());
                  }});
  for (const auto& [name, path, table] :
       {std::tuple{"sign-in: tips feed", "/bc/tipsters.xml", &Workspace::TIPS},
        std::tuple{"sign-in: moves feed", "/bc/move.xml", &Workspace::LG}}) {
    const std::string p = path;
    const auto t = table;
    list.push_back({name, p, [p](Case& r, FaultMode m) { return FaultAtSignIn(r, p, m); },
                    [t](Case& r, FaultMode m) {
                      ExpectDayLoaded(r);
                      // The feed's own error is shown; the rest of the day still loads.
                      EXPECT_EQ(r.messages().size(), Fails(m) ? 1u : 0u);
                      if (Fails(m)) {
                        EXPECT_EQ((r.ws().*t).RowCount(), 0);
                      }
                      return Count(t == &Workspace::TIPS ? "TIPS" : "LG", (r.ws().*t).RowCount());
                    }});
  }
  list.push_back({"results: LOAD", "/horse/rez.php*",
                  [](Case& r, FaultMode m) -> std::optional<Kept> {
                    Kept kept = SignedInWithAnalysis(r, "/horse/rez.php*", m);
                    r.session().LoadResults(FormatDate(AddDays(kToday, -1)));
                    return kept;
                  },
                  [](Case& r, FaultMode) {
                    EXPECT_TRUE(r.messages().empty());
                    EXPECT_EQ(r.ws().REZ.RowCount(), 0);
                    EXPECT_TRUE(r.session().view().vizVisible);
                    return std::string("REZ empty, \"No Information\" shown");
                  }});
  list.push_back({"exchange: runner pages", "/betting/*",
                  [](Case& r, FaultMode m) -> std::optional<Kept> {
                    Kept kept = SignedInWithAnalysis(r, "/betting/*", m);
                    EXPECT_GT(r.ws().T1.RowCount(), 0);
                    r.session().FillIndicatorRace(0);
                    // The pages' race is scored again only by the next analysis.
                    kept.TAB = r.ws().TAB;
                    return kept;
                  },
                  [](Case& r, FaultMode m) {
                    ExpectFailedPagesSaid(r, m);
                    // Every runner keeps its row, read from the empty text: no money, no price.
                    EXPECT_GT(r.ws().T2.RowCount(), 0);
                    double money = 0;
                    for (int row = 0; row < r.ws().T2.RowCount(); ++row)
                      money += r.ws().T2.Number(row, t2::kSum);
                    EXPECT_EQ(money, 0);
                    return Count("T2", r.ws().T2.RowCount()) + " without money";
                  }});
  // The analysis and the best-of runs read the same pages; the report the user built stays.
  list.push_back({"ALL TABLE: live analysis", "/betting/*",
                  [](Case& r, FaultMode m) -> std::optional<Kept> {
                    AddManualPick(r, "/betting/*", m);
                    r.session().AnalyseLive(RaceOnExchange(r));
                    return std::nullopt;
                  },
                  [](Case& r, FaultMode m) {
                    ExpectFailedPagesSaid(r, m);
                    ExpectManualPickKept(r);
                    EXPECT_GT(r.ws().R.RowCount(), 0);
                    EXPECT_EQ(r.ws().R.RowCount(), r.ws().TAB.RowCount());
                    return Count("R", r.ws().R.RowCount()) + ", " +
                           (r.session().view().tvbuttonEnabled ? "buttons enabled"
                                                               : "buttons disabled");
                  }});
  list.push_back({"Report: Best Rank from real odds", "/betting/*",
                  [](Case& r, FaultMode m) -> std::optional<Kept> {
                    AddManualPick(r, "/betting/*", m);
                    r.session().RunBestRank(true);
                    return std::nullopt;
                  },
                  [](Case& r, FaultMode m) {
                    ExpectFailedPagesSaid(r, m);
                    ExpectManualPickKept(r);
                    EXPECT_FALSE(r.harness->progress.pr2Visible);
                    return "REP " + std::to_string(r.ws().REP.RowCount()) +
                           " rows, the manual pick first";
                  }});
  return list;
}

// Keeps the table rows in the order the cases run; written once all have.
class FaultTable : public ::testing::Environment {
 public:
  static void Add(const std::string& request, FaultMode mode, const std::string& outcome) {
    std::lock_guard lock(mutex_);
    rows_[request][mode] = outcome;
    if (std::find(order_.begin(), order_.end(), request) == order_.end()) order_.push_back(request);
  }
  void TearDown() override {
    const char* path = std::getenv("TROTIX_FAULT_TABLE");
    if (path == nullptr || rows_.empty()) return;
    std::ofstream out(path, std::ios::binary);
    out << "| request |";
    for (FaultMode m : kModes) out << ' ' << vendorsim::FaultModeName(m) << " |";
    out << "\n|---|";
    for (std::size_t i = 0; i < std::size(kModes); ++i) out << "---|";
    out << '\n';
    for (const auto& request : order_) {
      out << "| " << request << " |";
      for (FaultMode m : kModes) out << ' ' << rows_[request][m] << " |";
      out << '\n';
    }
  }

 private:
  static inline std::mutex mutex_;
  static inline std::map<std::string, std::map<FaultMode, std::string>> rows_;
  static inline std::vector<std::string> order_;
};
[[maybe_unused]] auto* const kTable = ::testing::AddGlobalTestEnvironment(new FaultTable);

// Curl's error texts carry the milliseconds waited; the table keeps their words.
std::string Words(const std::string& message) {
  std::string first = message.substr(0, message.find_first_of("\r\n"));
  first = std::regex_replace(first, std::regex("[0-9]+ milliseconds with [0-9]+"),
                             "N milliseconds with N");
  return std::regex_replace(first, std::regex("\\|"), "/");
}

std::string SignInText(const Case& r) {
  if (!r.signIn) return "";
  switch (*r.signIn) {
    case SignInResult::SignedIn:
      return "signed in";
    case SignInResult::Rejected:
      return "rejected";
    case SignInResult::UpdateRequired:
      return "update message";
    case SignInResult::ConnectionFailed:
      return "signed out";
    case SignInResult::Stopped:
      return "stopped";
  }
  return "";
}

class FaultMatrixTest : public ::testing::TestWithParam<std::tuple<int, FaultMode>> {};

TEST_P(FaultMatrixTest, DefinedOutcomeAndNothingLost) {
  static const std::vector<Request> requests = Requests();
  const auto [index, mode] = GetParam();
  const Request& request = requests[index];
  SCOPED_TRACE(request.name + " / " + std::string(vendorsim::FaultModeName(mode)));

  Case run;
  const std::optional<Kept> kept = request.act(run, mode);
  const std::string detail = request.check(run, mode);

  // The remember-me file is whole: untouched, or rewritten with the same two lines and the
  // server they are for.
  const std::string saved = run.RememberMe();
  EXPECT_TRUE(saved == kSavedLogin || saved == kSavedLogin + run.sim->BaseUrl() + "\r\n") << saved;
  if (kept) {
    EXPECT_TRUE(Kept(run.ws()) == *kept) << "the last analysis or the report changed";
  }
  // The faulty path was really asked for.
  EXPECT_GT(run.sim->Requests(request.pattern), 0);

  std::vector<std::string> parts;
  if (const std::string s = SignInText(run); !s.empty()) parts.push_back(s);
  for (const auto& m : run.messages()) parts.push_back("message \"" + Words(m) + "\"");
  if (!detail.empty()) parts.push_back(detail);
  parts.push_back("tx.log kept");
  std::string outcome;
  for (const auto& p : parts) outcome += (outcome.empty() ? "" : "; ") + p;
  FaultTable::Add(request.name, mode, outcome);
}

INSTANTIATE_TEST_SUITE_P(Requests, FaultMatrixTest,
                         ::testing::Combine(::testing::Range(0,
                                                             static_cast<int>(Requests().size())),
                                            ::testing::ValuesIn(kModes)),
                         [](const auto& info) {
                           return std::to_string(std::get<0>(info.param)) + "_" +
                                  std::string(vendorsim::FaultModeName(std::get<1>(info.param)));
                         });

}  // namespace
}  // namespace trotix
