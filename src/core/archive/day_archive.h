#pragma once
// The day archive as the Session sees it: the answers of every signed-in day, kept so the day can
// be replayed, and the ledger of every pick added to the report, settled against the results.
#include <compare>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/ledger_event.h"
#include "net/hosts.h"
#include "net/http_client.h"
#include "text/dates.h"

namespace trotix {

struct RunnerParts;
struct StoredSystem;

// A request as the archive files it: the role of its host ("data", "web", "exchange", …), its path
// and its query without credentials. A probe and a GET of one address are two requests.
struct RequestKey {
  std::string role, path, query;
  bool probe = false;
  auto operator<=>(const RequestKey&) const = default;
};

struct RecordedAnswer {
  RequestKey key;
  HttpAnswer answer;                        // of a GET
  ProbeResult probe = ProbeResult::Absent;  // of a probe
  std::string arrived;                      // UTC, "2026-12-08T14:03:07.125Z"
  // The body's row in the archive once it is stored there; `answer.body` is then left empty and
  // the body is read when it is asked for. 0 while the body is held here.
  long long bodyId = 0;
};

enum class PickSource { kLive, kBacktest };
enum class PickResult { kUnsettled, kWon, kPlaced, kUnplaced, kVoid };

const char* PickSourceName(PickSource source);  // "live", "backtest"
const char* PickResultName(PickResult result);  // "unsettled", "won", "placed", …

// One row of the report as the ledger keeps it. Day, time, course, runner, system and run name
// the pick; adding it again keeps the first, unless it was withdrawn.
struct Pick {
  Date day;
  std::string time, course, runner, system;
  std::string odds;             // the report's "Odds" text
  std::optional<double> price;  // the runner's win price ("Kf") when it was a real price
  PickSource source = PickSource::kLive;
  long long runId = 0;  // the back-test run, 0 for a live pick
  std::string added;    // UTC: when it was made
  // Made at or after the off, or with its race's result loaded: kept, never in the figures.
  bool late = false;
  bool withdrawn = false;  // "Удалить" before the off: kept, never in the figures
  PickResult result = PickResult::kUnsettled;
  int position = 0;          // 1-4 when it finished in the first four, else 0
  std::optional<double> sp;  // its starting price then
  std::string settled;       // UTC, of the latest settlement
};

// A race its day's results did not list when fetched on `seen`, a later day: the next fetch on
// a day after that which still lacks it makes its picks void.
struct RaceMiss {
  Date day;
  std::string time, course;
  Date seen;
};

// A day as stored: the hosts it was fetched from and every answer in the order recorded, each
// with its body's id rather than the body (`DayArchive::ReadBody`).
struct StoredDay {
  Date day;
  Hosts hosts;
  std::vector<RecordedAnswer> answers;
};

// A back-test run (`kind` "backtest") or the picks of a replayed day (`kind` "replay").
struct ArchiveRun {
  long long id = 0;
  std::string kind;
  Date day;             // the replayed day, or the first day of a back-test
  std::string started;  // UTC
};

class DayArchive {
 public:
  virtual ~DayArchive() = default;

  // Brackets one user command: what it gathers (the answers' rows, the changes to the picks) is
  // written in one transaction when it ends without an error, so a crash loses only the command
  // under way. Brackets may nest; the outermost one writes.
  virtual void BeginCommand() = 0;
  // Returns why writing failed, once; what the command gathered is kept for the next command.
  virtual std::string CommitCommand() = 0;
  // The command failed: what it gathered since its BeginCommand is dropped, the outer brackets'
  // gatherings stay. Bodies already stored for the answers may stay: they are kept by content
  // and mean nothing without a row.
  virtual void RollbackCommand() = 0;

  // An answer as it arrived, from any thread. Answers are held until the sign-in succeeds.
  virtual void Record(RecordedAnswer answer) = 0;
  // Writes a body into the archive as it arrives, a short write of its own, and returns its id
  // for the answer recorded later; 0 when the body stays with its answer instead (nothing is
  // recorded, the day is not signed in yet, or the call comes from another thread than the
  // command's).
  virtual long long StoreBody(const std::string& body) = 0;
  // A stored body by its id; none when it cannot be read.
  virtual std::optional<std::string> ReadBody(long long id) = 0;
  // The sign-in succeeded: the answers held and every later one belong to `day`, fetched from
  // `hosts`.
  virtual void KeepDay(const Date& day, const Hosts& hosts) = 0;
  // The sign-in failed: the held answers of these requests go, so no replay ever sees them.
  virtual void ForgetAnswers(const std::vector<RequestKey>& keys) = 0;
  // The body of the last good answer stored for `key` on `day`; empty when there is none.
  virtual std::string LastAnswer(const Date& day, const RequestKey& key) = 0;

  // Each change to the ledger is an event appended to its chain, never a change to one before.
  // The archive fills in the time made unless given, and the source and run unless the pick
  // names its run.
  virtual void AddPick(Pick pick) = 0;
  // "Удалить" before the off: the pick stays, withdrawn. A settled pick is never withdrawn.
  // `at`: UTC, when it was withdrawn.
  virtual void WithdrawPick(const Pick& pick, const std::string& at) = 0;
  // Every unsettled pick of every day that is not withdrawn.
  virtual std::vector<Pick> UnsettledPicks() = 0;
  // Each pick's result, position and SP: a settlement, or a new one when it differs from the
  // latest.
  virtual void Settle(std::vector<Pick> picks) = 0;
  // Races missing from their results: `misses` are noted (the first sighting stays), `found`
  // forgotten.
  virtual void NoteRaceMisses(std::vector<RaceMiss> misses, std::vector<RaceMiss> found) = 0;
  virtual std::vector<RaceMiss> RaceMisses() = 0;
  // The ledger's events in order, as stored.
  virtual std::vector<ChainedEvent> LedgerEvents() = 0;

  // What the statistics and the back-test read. A failure reads as nothing and is reported when
  // the command ends.
  virtual std::vector<Pick> Picks() = 0;  // the whole ledger
  virtual std::vector<ArchiveRun> Runs() = 0;
  virtual std::vector<Date> Days() = 0;  // stored days, oldest first
  virtual std::optional<StoredDay> LoadDay(const Date& day) = 0;
  // The reads until EndReads see the archive as it stood at the first of them, at the cost of
  // one lock: a replayed day's reads. Nothing is written by the caller in between.
  virtual void BeginReads() {}
  virtual void EndReads() {}
  // A second archive over the same stored days, for another thread to read them with while this
  // one writes; it writes nothing. None when there is no such thing.
  virtual std::unique_ptr<DayArchive> OpenReader() { return nullptr; }
  // Registers a back-test run starting at `from` at once and returns its number; 0 when it
  // could not be written.
  virtual long long StartBacktestRun(const Date& from) = 0;

  // The runners of analysed races, for testing systems (archive/runner_parts.h). An archive that
  // keeps none (a replay's collector, a test's) takes nothing and reads nothing.
  // A race's rows replace those stored for it, unless they were analysed at or after its off and
  // the stored ones before.
  virtual void StoreRunnerParts(std::vector<RunnerParts> race);
  // Rows whose card and results were joined now.
  virtual void JoinRunnerParts(std::vector<RunnerParts> rows);
  virtual std::vector<RunnerParts> AllRunnerParts();
  // Days whose runners are stored (live, or by a replay of the stored day).
  virtual std::vector<Date> PartsDays();
  // A stored day replayed for its runners, kept even when it had none.
  virtual void NotePartsDay(const Date& day);
  // Every version of every system not deleted, by name and version; and the changes to them,
  // each written at once.
  virtual std::vector<StoredSystem> Systems();
  virtual std::string WriteSystem(const StoredSystem& system);  // why it failed; empty when not
  virtual std::string RenameSystem(const std::string& from, const std::string& to);
  virtual std::string DeleteSystem(const std::string& name);
};

// The current time in UTC, as the archive stamps answers and picks.
std::string UtcNow();

}  // namespace trotix
