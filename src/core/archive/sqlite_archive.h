#pragma once
// The archive's database: one SQLite file in the data folder, shared by every program that uses
// the folder at once (WAL, a busy time-out). Every write is one transaction.
//
// Tables (schema version 9):
//   schema_version  the version the file is at; migrations run from the first version on
//   days            each signed-in day with the hosts it was fetched from
//   bodies          answer bodies, each stored once however often it was fetched, packed by the
//                   codec each names; a small one a command stored lies in a group, in use from
//                   the start; one stored alone has the time it was stored (written as they
//                   arrive, ahead of their answers)
//   body_groups     small bodies of one command and role packed together as one frame
//   body_dictionary the zstd dictionary bodies may be packed against, trained on the archive's
//                   own pages
//   body_packing    how far the packing of the bodies stored before packing has come
//   answer_packs    each command's answers to one role and path, packed (AnswerPacks): query,
//                   probe outcome or status/error, body, time it arrived, in the order recorded
//   body_refs       each body stored alone that an answer refers to, with the role of the first
//   answers         an older release's answers, a row each, until they are packed
//   runs            back-test runs (a replayed day is one)
//   ledger          the picks ledger: append-only events, each hashed over the one before (its
//                   prev, stored only where it is not the hash of the row before); a hash is its
//                   32 bytes, or its hex where an older version wrote it
//   ledger_origin   when an older archive's picks became the first events, and how many
//   result_misses   races missing from their day's results, and when first seen missing
//   runner_parts    each day's runners of analysed races, packed (runner_days.h): Summa's eight
//                   parts, its price, and the card's class and field size and its result once
//                   joined
//   parts_days      days whose runners are stored, live or by a replay of the day
//   systems         the user's systems, each version of a name a row; a deleted one is hidden
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "archive/ledger_chain.h"
#include "archive/runner_parts.h"
#include "net/hosts.h"
#include "text/dates.h"

namespace SQLite {
class Database;
}

namespace trotix {

class BodyPacker;

inline constexpr const char* kArchiveFileName = "trotix.db";
// The demo server's days live apart, so they never mix with a real account's.
inline constexpr const char* kDemoArchiveFileName = "trotix-demo.db";

class ArchiveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A change to the ledger, in the order the user made it.
struct PickChange {
  enum Kind { kAdd, kWithdraw, kSettle } kind = kAdd;
  Pick pick;
  std::string at;  // UTC: when it was made
};

// What one command gathered.
struct ArchiveWrite {
  std::optional<Date> day;  // the day the answers belong to; registered with `hosts` when new
  Hosts hosts;
  std::vector<RecordedAnswer> answers;
  std::vector<PickChange> picks;
  std::vector<RaceMiss> misses, found;  // see DayArchive::NoteRaceMisses
  // A back-test run to register first, over this day: its number goes to the back-test picks
  // that have none yet.
  std::optional<Date> newRun;
  std::string newRunKind = "replay";
  // Analysed races' runners, each race whole; rows whose card and results were joined; days
  // replayed for their runners.
  std::vector<std::vector<RunnerParts>> races;
  std::vector<RunnerParts> joined;
  std::vector<Date> partsDays;
  bool Empty() const {
    return answers.empty() && picks.empty() && misses.empty() && found.empty() && !day && !newRun &&
           races.empty() && joined.empty() && partsDays.empty();
  }
};

class SqliteArchive {
 public:
  static constexpr int kSchemaVersion = 9;

  // Opens the archive, creating the file (owner-only) when it does not exist. Throws ArchiveError
  // naming the file when it cannot be opened, is no archive, or is of a newer version; such a
  // file is left as it was. A file this program may not write, or one in a folder it may not
  // write, is opened read-only.
  explicit SqliteArchive(const std::filesystem::path& file);
  // Opens an existing archive to read only, whoever may write it: a second connection for a
  // thread of its own. Throws ArchiveError as above.
  static std::unique_ptr<SqliteArchive> OpenToRead(const std::filesystem::path& file);
  ~SqliteArchive();
  SqliteArchive(const SqliteArchive&) = delete;
  SqliteArchive& operator=(const SqliteArchive&) = delete;

  const std::filesystem::path& file() const;
  // Opened read-only: it is read as ever, and `Write` records nothing.
  bool readOnly() const;
  // Closes the file (its write-ahead log folded in), runs `whileClosed` (which moves it) and
  // opens `file`. When `whileClosed` throws, the file it had is opened again and the error goes
  // on. Only the connection's owner calls it.
  void ReopenAt(const std::filesystem::path& file, const std::function<void()>& whileClosed);

  // The calls below throw ArchiveError when the database fails.
  // One transaction. Returns the number of the run registered, 0 when none was asked for.
  // An answer with a `bodyId` refers to a body already stored.
  long long Write(const ArchiveWrite& write);
  // Stores a body on its own (or finds it stored) and returns its id; 0 in a read-only archive.
  long long StoreBody(const std::string& body);
  // The body of that id; none when there is no such body.
  std::optional<std::string> Body(long long id);
  // Bodies no answer refers to, stored more than `age` ago: those of commands that never ended
  // (a crash, a rollback). Younger ones may belong to a command of another program still under
  // way. Returns how many went. Opening the archive does this with a day's age.
  int RemoveOrphanBodies(std::chrono::seconds age);

  std::vector<Date> Days();  // stored days, oldest first
  std::optional<StoredDay> LoadDay(const Date& day);
  std::string LastAnswer(const Date& day, const RequestKey& key);
  // The reads until EndReads see the file as it stood at the first of them, and take its lock
  // once rather than once each: a replayed day makes hundreds. Another program may write
  // meanwhile; a write of this connection ends the hold first. Holds do not nest.
  void BeginReads();
  void EndReads();
  // The picks as the ledger's events leave them, by day, time, course, runner, system; live
  // first.
  std::vector<Pick> Picks();
  std::vector<Pick> UnsettledPicks();  // neither settled nor withdrawn
  std::vector<ChainedEvent> LedgerEvents();
  // The check of the chain as stored; `migrated` counts the events an older archive's picks
  // became.
  ChainCheck CheckLedger();
  std::vector<RaceMiss> RaceMisses();
  std::vector<ArchiveRun> Runs();  // by number
  // Every stored runner, by day, time, course and card order.
  std::vector<RunnerParts> AllRunnerParts();
  std::vector<Date> PartsDays();
  std::vector<StoredSystem> Systems();  // not deleted, by name and version
  // Each one short write of its own.
  void WriteSystem(const StoredSystem& system);  // a new version, or a version's rule replaced
  void RenameSystem(const std::string& from, const std::string& to);
  void DeleteSystem(const std::string& name);

  // For the care of the file as a whole (archive_care.h); nothing else reaches past the calls
  // above.
  SQLite::Database& database();
  BodyPacker& packer();

 private:
  SqliteArchive();
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace trotix
