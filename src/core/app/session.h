#pragma once
// One signed-in run of the system: the Workspace plus one function per user event. The Session
// is the only place that reaches the outside, and only through the ports it is given.
// A command that Cancel (the progress port's stop signal) or its deadline ends leaves the
// Workspace as it was before the command, or, for a best-of run, as its last finished race left
// it; the deadline is said through the message port, a Cancel is not.
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "analysis/best_of.h"
#include "app/page_batch.h"
#include "app/ports.h"
#include "app/proof_figures.h"
#include "app/reference_cache.h"
#include "app/view_state.h"
#include "archive/day_archive.h"
#include "archive/ledger_chain.h"
#include "archive/runner_parts.h"
#include "feeds/race_facts.h"
#include "model/workspace.h"
#include "net/http_client.h"
#include "net/vendor_urls.h"
#include "systems/evaluate.h"

namespace trotix {

struct SessionPorts {
  HttpClient& web;     // follows redirects: data server, web site, exchange pages
  HttpClient& zorvat;  // does not follow redirects: the Zorvat reference tables
  Browser& browser;
  Messages& messages;
  Progress& progress;
  Clock& clock;
  // The day archive; none when it is off. The clients above record into it, or answer from it.
  DayArchive* archive = nullptr;
};

struct SessionOptions {
  Hosts hosts;
  std::filesystem::path folder = ".";  // tx.log and the HTML pages live here
  int maxConnections = 8;              // 1 makes every batch one request after another
  // The longest a command that goes to the network may wait before it ends as a Cancel would
  // (a best-of run: for each race); zero for no bound beyond each request's own time-out.
  std::chrono::milliseconds deadline{300'000};
  // Minutes the vendor's race times are ahead of UTC ("Race times are in"): a pick made at or
  // after its race's off is late.
  int raceTimesOffset = kMoscowOffsetMinutes;
};

inline constexpr const char* kAuthorizationFailed = "Autorization Failed!";
inline constexpr const char* kConnectionFailed = "Connection failed!";
inline constexpr const char* kNoRaces = "No races in today's card";
// The record's export in the data folder.
inline constexpr const char* kLedgerFileName = "trotix-record.jsonl";

// Stopped: Cancel or the deadline ended it before the day was in; nothing changed.
enum class SignInResult { SignedIn, Rejected, UpdateRequired, ConnectionFailed, Stopped };

// What "Settle" did: picks judged against their days' results.
struct SettleSummary {
  int days = 0;     // days with unsettled picks
  int picks = 0;    // unsettled picks before
  int settled = 0;  // of them settled now
  int won = 0, placed = 0, unplaced = 0, voided = 0;
  int resettled = 0;                    // settled picks whose results now say otherwise
  std::vector<std::string> failedDays;  // days whose results could not be fetched, dd.mm.yyyy
};

// One stored day of a back-test.
struct BacktestDay {
  Date day;
  int races = 0;
  int picks = 0;              // Best Rank and Best Recoming together
  int settled = 0;            // of them, from the results stored that day
  bool fromRealOdds = false;  // the day's runner pages were stored
  // Of them, races analysed without some of their real odds: those pages arrived only at or
  // after the race's off, and the back-test uses only what was known before it.
  int lateOddsRaces = 0;
  // Races left out: the day's tips or moves arrived only at or after their off, so their picks
  // would rest on what was not known before it.
  int lateFeedRaces = 0;
  std::string note;  // what kept the day from being picked or settled; empty when nothing did
};

// What a back-test did.
struct BacktestSummary {
  long long runId = 0;            // 0 when none was started
  int days = 0;                   // stored days in the range
  std::vector<BacktestDay> done;  // the days replayed, in order; a Cancel keeps them
  bool cancelled = false;
};

// A saved system: one version of a name, with the live picks made under it.
struct SystemEntry {
  std::string name;  // as the user named it
  int version = 1;
  std::string pickName;  // "Fast ground v2": the name its picks carry
  std::string rule;      // its file
  int livePicks = 0;
  bool latest = false;  // the version "Run systems" runs
};

// What saving a system did.
struct SystemSave {
  std::string error;        // empty when saved
  std::string savedAs;      // the pick name of the version written
  bool newVersion = false;  // the rule changed after live picks: a version of its own
};

// A system tested over the stored runners.
struct SystemTest {
  std::string method;  // the system's pick name, or "(unsaved)"
  systems::TestFigures figures;
  std::optional<systems::SplitFigures> split;
  int races = 0;  // analysed races stored in the range
};

// What the Systems page asks for: a rule as edited, over a range, split at a day.
struct SystemsQuery {
  systems::Rule rule;
  std::string method = "(unsaved)";
  std::optional<Date> from, to, split;
  double commission = 0.05;
};

// What the Systems page shows: the saved systems and the edited rule's figures.
struct SystemsReport {
  SystemsQuery query;
  std::vector<SystemEntry> systems;
  int daysWithoutParts = 0;  // stored days whose runners a replay would fill
  SystemTest test;
  std::string note;  // what the command that showed it did ("Saved as Fast ground v2")
};

// What the user typed on the sign-in page.
struct SignInForm {
  std::string login, password;
  bool rememberMe = false;
};

class ReplayBodies;
class AnalysisMemo;

class Session {
 public:
  Session(SessionOptions options, SessionPorts ports);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Workspace& ws() { return ws_; }
  const Workspace& ws() const { return ws_; }
  const ViewState& view() const { return view_; }
  const VendorUrls& urls() const { return urls_; }
  const SessionOptions& options() const { return options_; }
  // Set when the window should close (the update path).
  bool closeRequested() const { return closeRequested_; }
  // Every file that could not be written (tx.log, the saved pages) and every command its deadline
  // stopped, as its message, in order: a front end tells a failed run from a good one without
  // reading the messages.
  const std::vector<std::string>& failures() const { return failures_; }

  // Start-up: remember-me file, the "About" page alone, today's date, the course table.
  void Start();
  // "ВХОД": version probe, sign-in request and, on success, the whole day's load. The day's
  // indicator file is the one of the results date field. A day without a race still signs in
  // (the other pages work without one) and says so.
  SignInResult SignIn(const SignInForm& form);
  // "Sign out": the day's tables emptied, the report kept, the sign-in page alone and editable.
  void SignOut();
  // "OK" in the settings: these hosts, connection cap and folder from now on. A new data server
  // or folder reads the remember-me file again while signed out.
  void UseSettings(SessionOptions options);
  void Close();

  // "LOAD" on "Result" with the date field's text.
  void LoadResults(const std::string& date);
  // A click on the "Link" cell of result `row`: the result page, when it is a web address.
  void OpenResultLink(int row);
  // Double-click on a race of "Zorvat": scores it into RF and H.
  void ScoreZorvatRace(int row);
  // The exchange runners of row `row` of T1, fetched afresh into T2.
  void FillIndicatorRace(int row);
  // "Обновить" on "Scalp Odds": LG loaded afresh from the moves feed; a failed load shows why
  // and keeps the moves shown.
  void ReloadMoves();

  // Double-click on a race of "ALL TABLE": the analysis with fresh exchange data; the video and
  // market buttons are enabled when the race has a market.
  void AnalyseLive(int row);
  // Double-click on a race of "Today": the analysis from the tables as they stand, then
  // "ALL TABLE" in front.
  void AnalyseWithoutOdds(int row);
  // "Best Rank" and "Best Recoming": every race analysed (with fresh exchange data when
  // `fromRealOdds`), each adding its picks to REP and reported through Progress::StepDone as
  // soon as its own runner pages are in. Cancel stops the run; the rows already added stay.
  void RunBestRank(bool fromRealOdds);
  void RunBestRecoming(bool fromRealOdds);

  // The report list: double-click on a runner of TAB adds it; a click on REP selects the row
  // that "Удалить" deletes. Each pick is stamped with the clock's instant: made at or after its
  // race's off, or while its race's result is loaded, it is late. "Удалить" before the off
  // withdraws the pick; at or after the off it takes the row off the report only.
  void AddToReport(int row);
  void SelectReportRow(int row);
  void DeleteReportRow();
  void ClearReport();
  void SaveReport();       // report.html, opened in the browser
  void ExportReportCsv();  // report.csv
  // "Save as…": the same pages at a path the user chose.
  void SaveReportAs(const std::filesystem::path& path);
  void ExportReportCsvAs(const std::filesystem::path& path);

  // "Settle": fetches the results of every day with unsettled picks or a race its results
  // missed (side by side) and settles every pick the results decide; a settled pick whose
  // results now say otherwise is settled again. A day whose results fail keeps its picks
  // unsettled.
  SettleSummary Settle();

  // The ledger's chain as stored: "Record: N events, chain intact" or where it breaks.
  ChainCheck CheckLedger();
  // "Export" of the record: one line per event, for anyone to check. True when written.
  bool ExportLedger(const std::filesystem::path& path);
  void ExportLedger() { ExportLedger(options_.folder / kLedgerFileName); }
  // The event to publish before racing on `day` (see DigestEvent); none without one.
  std::optional<ChainedEvent> LedgerDigest(const Date& day);
  // "Digest": the line to publish before today's racing, said through the message port.
  void ShowLedgerDigest();

  // The Proof page: the figures of the ledger's picks under `query`, the live ones and the
  // back-test run beside them, kept as `proof()` until the next call.
  void ShowProof(const ProofQuery& query);
  const std::shared_ptr<const ProofReport>& proof() const { return proof_; }
  // "Back-test": every stored day from `from` to `to` replayed offline from the archive, Best
  // Rank and Best Recoming run on it (from real odds when its runner pages are stored), its
  // picks kept as one back-test run and settled from the results stored that day. Each day is
  // written when it ends; Cancel (through the progress port) stops between days. The figures
  // are shown again with the run beside the live ones, unless `showFigures` is false (a front
  // end that shows none: they cost as much as the run over a year of picks).
  BacktestSummary RunBacktest(const Date& from, const Date& to, bool showFigures = true);
  // "Export CSV" of the pick list of `method` as `proof()` holds it (the live picks, or those of
  // back-test run `runId`), into the folder.
  void ExportProofPicks(long long runId, const std::string& method);

  // Systems of the user's own, kept in the archive. The latest version of each name is the one
  // run and edited; a rule changed after its version has live picks is saved as the next
  // version, and the old one keeps its rule and its record.
  std::vector<SystemEntry> Systems();
  // `name` plain or with its version ("Fast ground v2"); none when there is no such system.
  std::optional<SystemEntry> FindSystem(const std::string& name);
  SystemSave SaveSystem(const std::string& name, const systems::Rule& rule);
  // Refused for a system with live picks: they carry its name. Empty when done, else why not.
  std::string RenameSystem(const std::string& from, const std::string& to);
  std::string DeleteSystem(const std::string& name);
  // Stored days whose runners are not stored: days analysed before runners were kept.
  std::vector<Date> DaysWithoutParts();
  // Replays each such day (as the back-test does) for its runners, once; progress per day,
  // Cancel between days. Returns the days filled.
  int FillRunnerParts();
  // The system over the stored runners from `from` to `to`, and split in two at `split`. The
  // rows are read once and kept until a race is analysed again.
  SystemTest TestSystem(const systems::Rule& rule, const std::string& method,
                        std::optional<Date> from = {}, std::optional<Date> to = {},
                        std::optional<Date> split = {}, double commission = 0.05);
  // "Run systems" on "Report": every race analysed (with fresh exchange data when
  // `fromRealOdds`), the latest version of every saved system (or only `only`) picking in it,
  // each pick in REP and the ledger under the system's name, stamped as the report's picks are.
  void RunSystems(bool fromRealOdds, const std::string& only = {});
  // The Systems page: the saved systems and the figures of `query`, kept as `systemsReport()`.
  void ShowSystems(const SystemsQuery& query, std::string note = {});
  const std::shared_ptr<const SystemsReport>& systemsReport() const { return systemsReport_; }

  void OpenVideo();   // video.html with the exchange's player
  void OpenMarket();  // the exchange's market page

 private:
  // Answers of the independent loads after a successful sign-in.
  struct DayLoads {
    ProbeResult indicatorProbe = ProbeResult::Absent;
    HttpAnswer indicator, processBase, scoreBase, dayValues, tips, moves;
  };
  // Runner pages in the order asked; the empty text for one that failed or never came.
  struct RunnerPages {
    std::vector<std::string> bodies;
    std::vector<std::string> arrivals;  // a replayed page's arrival, empty for a live one
    PageFailures failures;
  };
  // Puts the command's deadline on the stop signal while it lives.
  class Deadline {
   public:
    explicit Deadline(Session& session);
    ~Deadline();
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;
    void Restart();

   private:
    Session& session_;
  };

  // The course table, when it is due: a step of each command that needs it (the sign-in, the
  // results, the moves), under its stop signal.
  void FetchCourseTable();
  void ApplyCourseTable(const HttpAnswer& answer);
  // The sign-in fields from the remember-me file of the folder, for the data server.
  void ReadRememberMe();
  // Every table and list of the day emptied; the report and the course table stay.
  void ClearDay();
  // Records the address that failed and the client's reason for a status line; returns the line.
  std::string NoteConnectionFailure(const std::string& url, const std::string& why);
  // Whether REP holds rows that no save has written since they changed.
  void NoteReportChanges();
  SignInResult TrySignIn(const SignInForm& form);
  // The version probe and the sign-in request: how the sign-in ended, or none when `answer`
  // holds a day to load.
  std::optional<SignInResult> ProbeAndSignIn(const SignInForm& form, HttpAnswer& answer);
  // False when Cancel or the deadline ended the loads; nothing is applied then.
  // `indicatorProbe`: the indicator file's probe when it went beside the sign-in already.
  bool LoadDay(const SignInForm& form, const std::string& answer,
               std::optional<ProbeResult> indicatorProbe);
  DayLoads FetchDayLoads();  // one request after another
  // Side by side, the probe already made: the main client's loads here, the Zorvat tables
  // through their own client on a thread of their own.
  DayLoads FetchDayLoadsTogether(ProbeResult indicatorProbe);
  void ApplyIndicatorList(ProbeResult probe, const HttpAnswer& answer);
  void ApplyFeed(const HttpAnswer& answer, void (*load)(Workspace&, std::string_view));
  // Fetches runner pages through the main client within the connection cap, advancing `pr` per
  // runner; `arrived(i)` runs as page i comes in, `mayStart` may hold pages back. False when
  // Cancel or the deadline ended it.
  bool FetchRunnerPages(const std::vector<std::string>& urls, RunnerPages& pages,
                        const std::function<void(int)>& arrived = {},
                        const HttpClient::StartGate& mayStart = {});
  // Says how a command ended, unless the user cancelled it: the deadline when it struck, and
  // the runner pages that failed.
  void SayHowItEnded(const PageFailures* failures = nullptr);
  // Every race analysed in turn, `pick(k)` adding race k's picks to REP.
  void RunBestOf(const std::string& run, const std::function<void(int k)>& pick, bool fromRealOdds);
  // The runners of race `k` as analysed in TAB, and their card's class and field size.
  std::vector<RunnerParts> RaceParts(int k);
  // Keeps them in the archive for testing systems.
  void StoreRaceParts(int k);
  // The card and results of every row not yet joined, from what the archive stored.
  void JoinParts(std::vector<RunnerParts>& rows);
  const std::vector<RaceFacts>& DayFacts();
  SettleSummary SettleOpenDays();
  // Brackets a user command in the archive as one transaction: Commit writes it; one that ends
  // without Commit (an exception) is rolled back.
  class Command {
   public:
    explicit Command(Session& s);
    ~Command();
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;
    void Commit();

   private:
    Session& s_;
    bool open_ = true;
  };
  // Runs `steps` as one command: committed when they return, rolled back when they throw (the
  // exception goes on to the caller).
  template <typename Steps>
  decltype(auto) AsCommand(Steps&& steps) {
    Command command(*this);
    if constexpr (std::is_void_v<decltype(steps())>) {
      steps();
      command.Commit();
    } else {
      decltype(auto) result = steps();
      command.Commit();
      return result;
    }
  }
  // The race day the picks belong to: the sign-in's date.
  Date Day() const;
  // Puts REP rows from `first` on into the ledger, each with its runner's win price from TAB.
  void LedgerRows(int first);
  Pick PickOfReportRow(int row) const;
  // Whether a pick of the report made at `at` is late: at or after its race's off, or with its
  // race's result loaded.
  bool IsLate(const Pick& pick, Instant at) const;
  bool BeforeOff(const Pick& pick, Instant at) const;
  // After race `row` of MM was analysed: the note on its exchange prices, and the market number
  // and the buttons only when T2 holds this race. `fetched`: T2 was fetched by this analysis,
  // its pages arriving at `arrivals` (UTC texts; empty ones, or none, arrived now).
  void ShowAnalysedRace(int row, bool fetched, std::span<const std::string> arrivals = {});
  // Race `row` on screen at once, from what is in memory (the card, tips, moves, Zorvat), its
  // exchange figures not loaded; false when a Cancel came before the window showed it.
  bool ShowBeforeExchange(int row);
  // Writes a page and opens it; a failed write is shown instead. True when written.
  bool SavePage(const std::filesystem::path& path, const std::string& content);
  // A replayed day of a back-test, nothing of it written yet.
  struct ReplayedDay {
    BacktestDay done;
    std::vector<Pick> picks;    // for the run
    std::vector<Pick> settled;  // their settlements, when the day's results were found
    bool settle = false;
    std::string readError;  // why a read failed, when it was read through another connection
  };
  // One day of a back-test, for run `run`, read from `archive` alone, which it never writes;
  // `later` are the stored days after it, which may hold its results. Its bodies are read
  // through `bodies`, which the days replayed on this thread share, and its Zorvat files parsed
  // through `reference`. Any thread, with an archive, bodies and reference of its own.
  ReplayedDay ReplayStoredDay(DayArchive& archive, const Date& day, long long run,
                              const std::filesystem::path& scratch, const std::vector<Date>& later,
                              ReplayBodies& bodies,
                              const std::shared_ptr<ReferenceCache>& reference, const Date& today);
  // Its picks and settlements into this Session's archive, in the command under way.
  BacktestDay WriteReplayedDay(ReplayedDay day);

  SessionOptions options_;
  SessionPorts ports_;
  StopSignal ownStop_;  // for the deadlines, when the progress port has no signal
  StopSignal& stop_;
  VendorUrls urls_;
  Workspace ws_;
  ViewState view_;
  bool closeRequested_ = false;
  std::optional<Date> day_;
  std::string exchangeFetchedAt_;  // when T2 was last fetched for a race analysed
  Table savedReport_;              // REP as the last save wrote it
  std::vector<std::string> failures_;
  std::shared_ptr<const ProofReport> proof_;
  std::shared_ptr<const SystemsReport> systemsReport_;
  struct BacktestAsked {
    int days = 0;
    bool cancelled = false;
  };
  std::map<long long, BacktestAsked> backtests_;  // the runs this Session made, by number
  bool courseTableDue_ = true;                    // since start-up or a new data server
  // The stored runners as read for a test, until a race is stored again.
  std::shared_ptr<const std::vector<RunnerParts>> parts_;
  std::optional<std::vector<RaceFacts>> dayFacts_;  // of the signed-in day's card
  // Lent to the Sessions of the days a back-test replays, one after another on this thread.
  std::shared_ptr<ReferenceCache> reference_ = std::make_shared<ReferenceCache>();
  // A replayed day's analyses, lent by the back-test so its second best-of run reuses the first's.
  AnalysisMemo* analyses_ = nullptr;
};

}  // namespace trotix
