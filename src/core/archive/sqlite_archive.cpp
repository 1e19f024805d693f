#include "archive/sqlite_archive.h"

#include "archive/answer_packs.h"
#include "archive/archive_care.h"
#include "archive/body_codec.h"
#include "archive/body_groups.h"
#include "archive/runner_days.h"
#include "archive/runner_parts.h"
#include "archive/sql_values.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <thread>
#include <tuple>

namespace trotix {
namespace {

constexpr int kBusyTimeoutMs = 5000;

// Each entry takes the file from the version before it to its own (entry 0 makes version 1).
// A released entry never changes; a new schema is a new entry.
constexpr const char* kMigrations[] = {
    R"sql(
CREATE TABLE schema_version (version INTEGER NOT NULL);
INSERT INTO schema_version VALUES (0);
CREATE TABLE days (
  day TEXT PRIMARY KEY,
  data_server TEXT NOT NULL, web_site TEXT NOT NULL, exchange_site TEXT NOT NULL,
  exchange_web TEXT NOT NULL, video_host TEXT NOT NULL,
  first_signed_in TEXT NOT NULL);
CREATE TABLE bodies (
  id INTEGER PRIMARY KEY, hash INTEGER NOT NULL, size INTEGER NOT NULL, body BLOB NOT NULL);
CREATE INDEX bodies_by_hash ON bodies (hash);
CREATE TABLE answers (
  id INTEGER PRIMARY KEY,
  day TEXT NOT NULL REFERENCES days (day),
  role TEXT NOT NULL, path TEXT NOT NULL, query TEXT NOT NULL,
  probe INTEGER,
  status INTEGER NOT NULL, failed INTEGER NOT NULL, error TEXT NOT NULL,
  body_id INTEGER REFERENCES bodies (id),
  arrived TEXT NOT NULL);
CREATE INDEX answers_by_day ON answers (day, id);
CREATE TABLE runs (
  id INTEGER PRIMARY KEY, kind TEXT NOT NULL, day TEXT NOT NULL, started TEXT NOT NULL);
CREATE TABLE picks (
  id INTEGER PRIMARY KEY,
  day TEXT NOT NULL, time TEXT NOT NULL, course TEXT NOT NULL, runner TEXT NOT NULL,
  system TEXT NOT NULL, odds TEXT NOT NULL, price REAL,
  source TEXT NOT NULL CHECK (source IN ('live', 'backtest')),
  run_id INTEGER NOT NULL DEFAULT 0,
  added TEXT NOT NULL,
  result TEXT CHECK (result IN ('won', 'placed', 'unplaced', 'void')),
  position INTEGER, sp REAL, settled TEXT,
  UNIQUE (day, time, course, runner, system, source, run_id));
CREATE INDEX picks_unsettled ON picks (day) WHERE result IS NULL;
)sql",
    // Bodies are written as they arrive, before their answers: a body without one is told
    // from a command still under way by its age.
    R"sql(
ALTER TABLE bodies ADD COLUMN stored INTEGER;
CREATE INDEX answers_by_body ON answers (body_id);
)sql",
    // The ledger becomes a chain of events; the picks of version 1 move into it (MovePicks).
    R"sql(
CREATE TABLE ledger (
  seq INTEGER PRIMARY KEY,
  kind TEXT NOT NULL, at TEXT NOT NULL, day TEXT NOT NULL, time TEXT NOT NULL,
  course TEXT NOT NULL, runner TEXT NOT NULL, system TEXT NOT NULL, source TEXT NOT NULL,
  run INTEGER NOT NULL, price TEXT NOT NULL, odds TEXT NOT NULL, result TEXT NOT NULL,
  position TEXT NOT NULL, sp TEXT NOT NULL, prev TEXT NOT NULL, hash TEXT NOT NULL);
CREATE INDEX ledger_by_pick ON ledger (day, time, course, runner, system, run);
CREATE TRIGGER ledger_no_update BEFORE UPDATE ON ledger
  BEGIN SELECT RAISE(ABORT, 'the ledger only grows'); END;
CREATE TRIGGER ledger_no_delete BEFORE DELETE ON ledger
  BEGIN SELECT RAISE(ABORT, 'the ledger only grows'); END;
CREATE TABLE ledger_origin (migrated INTEGER NOT NULL, began TEXT NOT NULL);
CREATE TABLE result_misses (
  day TEXT NOT NULL, time TEXT NOT NULL, course TEXT NOT NULL, seen TEXT NOT NULL,
  PRIMARY KEY (day, time, course));
)sql",
    // The runners of analysed races, for testing systems, and the systems themselves. Only new
    // tables: the entry may run before or after others of the same release.
    R"sql(
CREATE TABLE IF NOT EXISTS runner_parts (
  day TEXT NOT NULL, time TEXT NOT NULL, course TEXT NOT NULL, card_order INTEGER NOT NULL,
  runner TEXT NOT NULL,
  rank REAL NOT NULL, bf REAL NOT NULL, scalp REAL NOT NULL, rpr REAL NOT NULL,
  indicator REAL NOT NULL, tips REAL NOT NULL, fr REAL NOT NULL, zorvat REAL NOT NULL,
  price REAL, non_runner INTEGER NOT NULL, late INTEGER NOT NULL, analysed TEXT NOT NULL,
  class TEXT NOT NULL DEFAULT '', runners INTEGER NOT NULL DEFAULT 0,
  joined INTEGER NOT NULL DEFAULT 0, result TEXT, position INTEGER, sp REAL,
  PRIMARY KEY (day, time, course, card_order));
CREATE TABLE IF NOT EXISTS parts_days (day TEXT PRIMARY KEY, how TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS systems (
  name TEXT NOT NULL, version INTEGER NOT NULL, rule TEXT NOT NULL, created TEXT NOT NULL,
  deleted INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (name, version));
)sql",
    // Bodies are packed (BodyCodec), each naming its codec; those stored before stay plain until
    // the archive's care packs them, from the first id on up to the last one then stored.
    R"sql(
ALTER TABLE bodies ADD COLUMN codec INTEGER NOT NULL DEFAULT 0;
CREATE TABLE body_dictionary (id INTEGER PRIMARY KEY, dictionary BLOB NOT NULL,
  trained TEXT NOT NULL);
CREATE TABLE body_packing (done_to INTEGER NOT NULL, last INTEGER NOT NULL);
INSERT INTO body_packing SELECT 0, coalesce(max(id), 0) FROM bodies;
)sql",
    // A command's answers to one address become one packed row (AnswerPacks); the rows stored
    // before stay until the archive's care packs them. The runners' rows are kept by their key
    // alone; a pick's events are found by its day, runner and run, which tell it from nearly
    // every other, through an index half the size.
    R"sql(
CREATE TABLE answer_packs (
  id INTEGER PRIMARY KEY, day TEXT NOT NULL, command INTEGER NOT NULL,
  role TEXT NOT NULL, path TEXT NOT NULL, count INTEGER NOT NULL,
  codec INTEGER NOT NULL, size INTEGER NOT NULL, rows BLOB NOT NULL);
CREATE INDEX answer_packs_by_address ON answer_packs (day, role, path, command);
CREATE TABLE body_refs (body_id INTEGER PRIMARY KEY, role TEXT NOT NULL);
CREATE TABLE runner_parts_by_key (
  day TEXT NOT NULL, time TEXT NOT NULL, course TEXT NOT NULL, card_order INTEGER NOT NULL,
  runner TEXT NOT NULL,
  rank REAL NOT NULL, bf REAL NOT NULL, scalp REAL NOT NULL, rpr REAL NOT NULL,
  indicator REAL NOT NULL, tips REAL NOT NULL, fr REAL NOT NULL, zorvat REAL NOT NULL,
  price REAL, non_runner INTEGER NOT NULL, late INTEGER NOT NULL, analysed TEXT NOT NULL,
  class TEXT NOT NULL DEFAULT '', runners INTEGER NOT NULL DEFAULT 0,
  joined INTEGER NOT NULL DEFAULT 0, result TEXT, position INTEGER, sp REAL,
  PRIMARY KEY (day, time, course, card_order)) WITHOUT ROWID;
INSERT INTO runner_parts_by_key SELECT day, time, course, card_order, runner, rank, bf, scalp,
  rpr, indicator, tips, fr, zorvat, price, non_runner, late, analysed, class, runners, joined,
  result, position, sp FROM runner_parts;
DROP TABLE runner_parts;
ALTER TABLE runner_parts_by_key RENAME TO runner_parts;
DROP INDEX ledger_by_pick;
CREATE INDEX ledger_by_runner ON ledger (day, runner, run);
)sql",
    // The small bodies of each command are packed again together (body_groups.h); a group's id is
    // never taken again, so a reader's kept groups never stand for another.
    R"sql(
CREATE TABLE body_groups (id INTEGER PRIMARY KEY AUTOINCREMENT, role TEXT NOT NULL,
  codec INTEGER NOT NULL, size INTEGER NOT NULL, frame BLOB NOT NULL);
ALTER TABLE bodies ADD COLUMN group_id INTEGER;
ALTER TABLE bodies ADD COLUMN group_offset INTEGER;
)sql",
    // A grouped body is in use from the start (a command's bodies are grouped as its answers are
    // written): only bodies stored alone are noted in body_refs, have a time, and are looked at
    // for orphans. An event's prev is the hash of the event before it, so it is stored only where
    // it is not, in a file bent before this version.
    R"sql(
DELETE FROM body_refs WHERE body_id IN (SELECT id FROM bodies WHERE group_id IS NOT NULL);
UPDATE bodies SET stored = NULL WHERE group_id IS NOT NULL;
CREATE INDEX bodies_alone ON bodies (group_id) WHERE group_id IS NULL;
CREATE TABLE ledger_lean (
  seq INTEGER PRIMARY KEY,
  kind TEXT NOT NULL, at TEXT NOT NULL, day TEXT NOT NULL, time TEXT NOT NULL,
  course TEXT NOT NULL, runner TEXT NOT NULL, system TEXT NOT NULL, source TEXT NOT NULL,
  run INTEGER NOT NULL, price TEXT NOT NULL, odds TEXT NOT NULL, result TEXT NOT NULL,
  position TEXT NOT NULL, sp TEXT NOT NULL, prev TEXT, hash TEXT NOT NULL);
INSERT INTO ledger_lean SELECT seq, kind, at, day, time, course, runner, system, source, run,
  price, odds, result, position, sp,
  nullif(prev, coalesce((SELECT p.hash FROM ledger p WHERE p.seq < ledger.seq
                         ORDER BY p.seq DESC LIMIT 1), hex(zeroblob(32)))),
  hash FROM ledger ORDER BY seq;
DROP TABLE ledger;
ALTER TABLE ledger_lean RENAME TO ledger;
CREATE INDEX ledger_by_runner ON ledger (day, runner, run);
CREATE TRIGGER ledger_no_update BEFORE UPDATE ON ledger
  BEGIN SELECT RAISE(ABORT, 'the ledger only grows'); END;
CREATE TRIGGER ledger_no_delete BEFORE DELETE ON ledger
  BEGIN SELECT RAISE(ABORT, 'the ledger only grows'); END;
)sql",
    // A day's runners become one row, packed (runner_days.h): a row a runner repeated its
    // race's time, course and analysed time. The rows move in after the entry.
    R"sql(
ALTER TABLE runner_parts RENAME TO runner_parts_by_runner;
CREATE TABLE runner_parts (day TEXT PRIMARY KEY, count INTEGER NOT NULL, codec INTEGER NOT NULL,
  size INTEGER NOT NULL, rows BLOB NOT NULL);
)sql",
};
constexpr auto kOrphanAge = std::chrono::hours(24);
// Version 2 only adds the bodies' time and an index, which reading does not need; version 3
// makes the ledger, which it does.
constexpr int kOldestReadable = 3;
constexpr int kKnownVersion = static_cast<int>(std::size(kMigrations));
static_assert(kKnownVersion == SqliteArchive::kSchemaVersion);

// The days a one-column query gives, in its order.
std::vector<Date> DaysOf(SQLite::Database& db, const char* query) {
  SQLite::Statement s(db, query);
  std::vector<Date> days;
  while (s.executeStep()) days.push_back(DayOfIso(s.getColumn(0).getString()));
  return days;
}

// Whether this program is not to write `path`: access(2) says so, or no write bit is set (which
// access(2) overlooks for the superuser).
bool NotWritable(const std::filesystem::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  return ::access(path.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0;
}

// The archive is the picks ledger: readable by its owner alone. A new file is made owner-only
// before SQLite opens it, and its -wal and -shm files take its mode.
void CreateOwnerOnly(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd >= 0) ::close(fd);
}

// An archive an older release made readable by all is narrowed to its owner.
void NarrowToOwner(const std::filesystem::path& file) {
  for (const char* suffix : {"", "-wal", "-shm"}) {
    const std::string name = file.string() + suffix;
    struct stat st {};
    if (::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0077) != 0)
      ::chmod(name.c_str(), st.st_mode & 0700);
  }
}

// `file` as an SQLite URI: the characters a URI gives a meaning of its own are escaped.
std::string FileUri(const std::filesystem::path& file, const char* query) {
  std::string uri = "file:";
  for (const char c : file.string()) {
    if (c == '%' || c == '?' || c == '#') {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", static_cast<unsigned char>(c));
      uri += buf;
    } else {
      uri += c;
    }
  }
  return uri + "?" + query;
}

// FNV-1a: stable across builds, so stored hashes stay valid. A body is found by its hash and
// size and then compared whole, so the hash only narrows the search: a body is stored under the
// hash folded to 32 bits (four bytes in its row and in the index, not eight), and one an older
// version stored keeps the whole one.
struct BodyHashes {
  int64_t whole = 0, folded = 0;
};

BodyHashes BodyHash(const std::string& body) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : body) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return {static_cast<int64_t>(h), static_cast<int32_t>(static_cast<uint32_t>(h ^ (h >> 32)))};
}

constexpr const char* kEventColumns =
    "seq, kind, at, day, time, course, runner, system, source, run, price, odds, result, "
    "position, sp, prev, hash";

// A hash as stored: its 32 bytes, or the hex text an older version wrote.
std::string StoredHash(const SQLite::Column& c) {
  if (!c.isBlob()) return c.getString();
  return HexText({static_cast<const char*>(c.getBlob()), static_cast<std::size_t>(c.getBytes())});
}

ChainedEvent EventOfRow(SQLite::Statement& s) {
  ChainedEvent c;
  LedgerEvent& e = c.event;
  e.seq = s.getColumn(0).getInt64();
  e.kind = s.getColumn(1).getString();
  e.at = s.getColumn(2).getString();
  e.day = s.getColumn(3).getString();
  e.time = s.getColumn(4).getString();
  e.course = s.getColumn(5).getString();
  e.runner = s.getColumn(6).getString();
  e.system = s.getColumn(7).getString();
  e.source = s.getColumn(8).getString();
  e.run = s.getColumn(9).getInt64();
  e.price = s.getColumn(10).getString();
  e.odds = s.getColumn(11).getString();
  e.result = s.getColumn(12).getString();
  e.position = s.getColumn(13).getString();
  e.sp = s.getColumn(14).getString();
  c.prev = StoredHash(s.getColumn(15));
  c.hash = StoredHash(s.getColumn(16));
  return c;
}

// The event of `kind` on `pick` at `at`, with the pick's settlement when it has one.
LedgerEvent EventOfPick(const char* kind, const Pick& p, const std::string& at) {
  LedgerEvent e;
  e.kind = kind;
  e.at = at;
  e.day = FormatDate(p.day);
  e.time = ValidUtf8(p.time);
  e.course = ValidUtf8(p.course);
  e.runner = ValidUtf8(p.runner);
  e.system = ValidUtf8(p.system);
  e.source = EventSource(p);
  e.run = p.source == PickSource::kBacktest ? p.runId : 0;
  e.price = PriceText(p.price);
  e.odds = ValidUtf8(p.odds);
  if (p.result != PickResult::kUnsettled) {
    e.result = PickResultName(p.result);
    e.position = p.position > 0 ? std::to_string(p.position) : "";
    e.sp = PriceText(p.sp);
  }
  return e;
}

}  // namespace

struct SqliteArchive::Impl {
  std::filesystem::path file;
  bool readOnly = false;
  bool onlyToRead = false;  // asked for: never written, even where it could be
  std::unique_ptr<SQLite::Database> db;
  BodyPacker packer;
  // Prepared once: a back-test writes thousands of picks, and preparing costs more than writing.
  std::unique_ptr<SQLite::Statement> appendEvent, eventsOfPick, readBodyStatement;
  std::mutex readingBody;
  // An older archive opened read-only is read as it is: its bodies are plain and name no codec.
  bool packedBodies = true;
  bool groupedBodies = true;
  BodyGroupReader groups;
  ChainHasher hasher;
  // A read transaction opened by BeginReads is under way.
  bool readsHeld = false;
  // The end of the chain while a write appends to it.
  long long lastSeq = 0;
  std::string lastHash;

  SQLite::Statement& Prepared(std::unique_ptr<SQLite::Statement>& s, const std::string& sql) {
    if (s) {
      s->tryReset();  // a failed step is reported where it happened
    } else {
      s = std::make_unique<SQLite::Statement>(*db, sql);
    }
    return *s;
  }

  ArchiveError Error(const std::string& what) const {
    return ArchiveError("the archive " + file.string() + ": " + what);
  }

  bool HasTable(const char* name) {
    SQLite::Statement s(*db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?");
    s.bind(1, name);
    return s.executeStep();
  }

  int Version() {
    if (!HasTable("schema_version")) return 0;
    return db->execAndGet("SELECT max(version) FROM schema_version").getInt();
  }

  void Open() {
    // A file this program may not write, or one in such a folder, is read and never written.
    const auto folder = file.has_parent_path() ? file.parent_path() : ".";
    readOnly =
        onlyToRead || (std::filesystem::exists(file) && (NotWritable(file) || NotWritable(folder)));
    int objects = 0;
    if (readOnly) {
      objects = OpenReadOnly();
    } else {
      CreateOwnerOnly(file);
      db = std::make_unique<SQLite::Database>(file, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE,
                                              kBusyTimeoutMs);
      objects = db->execAndGet("SELECT count(*) FROM sqlite_master").getInt();
    }
    // Reading first: a file that is no database, or someone else's, is refused before anything
    // is written to it.
    if (objects > 0 && !HasTable("schema_version")) throw Error("the file is no Trotix archive");
    if (Version() > kKnownVersion)
      throw Error("made by a newer Trotix (schema version " + std::to_string(Version()) + ")");
    if (readOnly) {
      if (Version() < kOldestReadable)
        throw Error("read-only, and of an older version that would have to be brought up to date");
      packedBodies = HasTable("body_packing");
      groupedBodies = HasTable("body_groups");
      LoadDictionary();
      return;
    }
    NarrowToOwner(file);
    UseWal();
    db->exec("PRAGMA synchronous = NORMAL");
    Migrate();
    LoadDictionary();
    try {
      RemoveOrphanBodies(kOrphanAge);
    } catch (const SQLite::Exception&) {
      // Housekeeping only: a busy file is tidied at a later opening.
    }
  }

  // Read-only. A WAL file is read through its -shm file, or, where that cannot be made and no
  // -wal file is left (SQLite 3.22 on), through memory of the connection's own. "immutable" is
  // not asked for: it would ignore what a -wal file still holds. Returns the count of the
  // schema's objects.
  int OpenReadOnly() {
    db = std::make_unique<SQLite::Database>(
        FileUri(file, "mode=ro"), SQLite::OPEN_READONLY | SQLite::OPEN_URI, kBusyTimeoutMs);
    return db->execAndGet("SELECT count(*) FROM sqlite_master").getInt();
  }

  // Switching a new file to WAL takes a lock SQLite does not wait for: a second program opening
  // the same new file at that moment is told "database is locked" at once. It tries again for as
  // long as it would wait for any other lock.
  void UseWal() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
    for (;;) {
      try {
        db->exec("PRAGMA journal_mode = WAL");
        return;
      } catch (const SQLite::Exception& e) {
        if ((e.getErrorCode() & 0xff) != SQLITE_BUSY || std::chrono::steady_clock::now() >= until)
          throw;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  void Migrate() {
    if (Version() == kKnownVersion) return;
    // Another program may be migrating the same file: the version is read again under the lock.
    SQLite::Transaction t(*db, SQLite::TransactionBehavior::IMMEDIATE);
    for (int v = Version(); v < kKnownVersion; ++v) {
      db->exec(kMigrations[v]);
      if (v == 2) MovePicks();
      if (HasTable("runner_parts_by_runner")) MoveRunnerRows();
      db->exec("UPDATE schema_version SET version = " + std::to_string(v + 1));
    }
    t.commit();
  }

  int64_t BodyId(const std::string& body) {
    const BodyHashes hash = BodyHash(body);
    SQLite::Statement find(*db,
                           "SELECT id, codec, body, group_id, group_offset FROM bodies WHERE "
                           "hash IN (?, ?) AND size = ?");
    find.bind(1, hash.folded);
    find.bind(2, hash.whole);
    find.bind(3, static_cast<int64_t>(body.size()));
    while (find.executeStep())
      if (UnpackRow(find, body.size()) == body) return find.getColumn(0).getInt64();
    const PackedBody packed = packer.Pack(body);
    SQLite::Statement insert(
        *db, "INSERT INTO bodies (hash, size, body, stored, codec) VALUES (?, ?, ?, ?, ?)");
    insert.bind(1, hash.folded);
    insert.bind(2, static_cast<int64_t>(body.size()));
    insert.bind(3, packed.bytes.data(), static_cast<int>(packed.bytes.size()));
    insert.bind(4, UnixSeconds());
    insert.bind(5, static_cast<int>(packed.codec));
    insert.exec();
    return db->getLastInsertRowid();
  }

  // The body of a row whose columns 1 to 4 are its codec, bytes, group and offset.
  std::optional<std::string> UnpackRow(SQLite::Statement& row, std::size_t size) {
    const auto codec = static_cast<BodyCodec>(row.getColumn(1).getInt());
    if (codec == BodyCodec::kGrouped) {
      if (row.getColumn(3).isNull()) return std::nullopt;
      return groups.Read(*db, packer, row.getColumn(3).getInt64(), row.getColumn(4).getInt64(),
                         size);
    }
    const SQLite::Column bytes = row.getColumn(2);
    return packer.Unpack(codec,
                         std::string_view(static_cast<const char*>(bytes.getBlob()),
                                          static_cast<std::size_t>(bytes.getBytes())),
                         size);
  }

  // Prepared once: a replay reads a body for every page it asks for. A replay may ask from
  // several threads, so the statement is taken in turn.
  std::optional<std::string> ReadBody(int64_t id) {
    std::lock_guard lock(readingBody);
    SQLite::Statement& s = Prepared(
        readBodyStatement,
        groupedBodies
            ? "SELECT size, codec, body, group_id, group_offset FROM bodies WHERE id = ?"
            : (packedBodies ? "SELECT size, codec, body, NULL, NULL FROM bodies WHERE id = ?"
                            : "SELECT size, 0, body, NULL, NULL FROM bodies WHERE id = ?"));
    s.bind(1, id);
    if (!s.executeStep()) return std::nullopt;
    auto body = UnpackRow(s, static_cast<std::size_t>(s.getColumn(0).getInt64()));
    s.reset();  // no read stays open between two pages
    if (!body) throw Error("body " + std::to_string(id) + " does not unpack");
    return body;
  }

  void LoadDictionary() {
    if (!HasTable("body_dictionary")) return;
    SQLite::Statement s(*db, "SELECT dictionary FROM body_dictionary ORDER BY id LIMIT 1");
    if (s.executeStep()) packer.UseDictionary(s.getColumn(0).getString());
  }

  static int64_t UnixSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
  }

  int RemoveOrphanBodies(std::chrono::seconds age) {
    // The ids first, from the index of bodies stored alone (a grouped one is in use): reading a
    // body's time walks past the body itself, so only the few without an answer are looked at
    // further.
    std::vector<int64_t> orphans;
    {
      SQLite::Statement s(*db,
                          "SELECT id FROM bodies INDEXED BY bodies_alone WHERE group_id IS NULL "
                          "AND NOT EXISTS (SELECT 1 FROM body_refs WHERE body_refs.body_id = "
                          "bodies.id) AND NOT EXISTS (SELECT 1 FROM answers WHERE "
                          "answers.body_id = bodies.id)");
      while (s.executeStep()) orphans.push_back(s.getColumn(0).getInt64());
    }
    if (orphans.empty()) return 0;
    SQLite::Transaction t(*db, SQLite::TransactionBehavior::IMMEDIATE);
    SQLite::Statement drop(*db,
                           "DELETE FROM bodies WHERE id = ? AND group_id IS NULL AND stored <= ? "
                           "AND NOT EXISTS "
                           "(SELECT 1 FROM body_refs WHERE body_refs.body_id = bodies.id) AND "
                           "NOT EXISTS (SELECT 1 FROM answers WHERE answers.body_id = bodies.id)");
    const int64_t before = UnixSeconds() - age.count();
    int removed = 0;
    for (const int64_t id : orphans) {
      drop.bind(1, id);
      drop.bind(2, before);
      removed += drop.exec();
      drop.reset();
    }
    t.commit();
    return removed;
  }

  // Whether the day is new to the archive.
  bool WriteDay(const Date& day, const Hosts& h) {
    SQLite::Statement s(*db,
                        "INSERT OR IGNORE INTO days (day, data_server, web_site, exchange_site, "
                        "exchange_web, video_host, first_signed_in) VALUES (?, ?, ?, ?, ?, ?, ?)");
    s.bind(1, IsoDay(day));
    s.bind(2, h.dataServer);
    s.bind(3, h.webSite);
    s.bind(4, h.exchangeSite);
    s.bind(5, h.exchangeWeb);
    s.bind(6, h.videoHost);
    s.bind(7, UtcNow());
    return s.exec() > 0;
  }

  void WriteAnswers(const Date& day, const std::vector<RecordedAnswer>& answers) {
    if (answers.empty()) return;
    // The rows without their bodies, each body stored first unless it is already.
    std::vector<RecordedAnswer> rows(answers.size());
    std::vector<CommandBody> bodies;
    for (std::size_t i = 0; i < answers.size(); ++i) {
      const RecordedAnswer& a = answers[i];
      RecordedAnswer& r = rows[i];
      r.key = a.key;
      r.probe = a.probe;
      r.arrived = a.arrived;
      if (a.key.probe) continue;
      r.answer.status = a.answer.status;
      r.answer.failed = a.answer.failed;
      r.answer.error = a.answer.error;
      r.bodyId = a.bodyId != 0 ? a.bodyId : BodyId(a.answer.body);
      bodies.push_back({r.bodyId, a.key.role});
    }
    // Before the answers refer to them: a body no answer referred to yet is this command's own.
    GroupNewBodies(*db, packer, bodies);
    AnswerPacks packs(*db, packer);
    const std::string iso = IsoDay(day);
    packs.Write(iso, packs.NextCommand(iso), rows);
  }

  // Version 1's picks become events in their stored order, each made when it was added, then
  // their settlements in the order settled; the chain begins there.
  // A pick of the old picks table, from a row that starts with its day, time, course, runner,
  // system, odds, price, source and run.
  static Pick OldPickOfRow(SQLite::Statement& s) {
    Pick p;
    p.day = DayOfIso(s.getColumn(0).getString());
    p.time = s.getColumn(1).getString();
    p.course = s.getColumn(2).getString();
    p.runner = s.getColumn(3).getString();
    p.system = s.getColumn(4).getString();
    p.odds = s.getColumn(5).getString();
    p.price = OptionalDouble(s.getColumn(6));
    p.source = s.getColumn(7).getString() == "backtest" ? PickSource::kBacktest : PickSource::kLive;
    p.runId = s.getColumn(8).getInt64();
    return p;
  }

  void MovePicks() {
    ReadChainEnd();
    long long moved = 0;
    {
      SQLite::Statement s(*db,
                          "SELECT day, time, course, runner, system, odds, price, source, run_id, "
                          "added FROM picks ORDER BY id");
      while (s.executeStep()) {
        Pick p = OldPickOfRow(s);
        Append(EventOfPick(kEventMade, p, s.getColumn(9).getString()), kAsVersion3);
        ++moved;
      }
    }
    {
      SQLite::Statement s(*db,
                          "SELECT day, time, course, runner, system, odds, price, source, run_id, "
                          "result, position, sp, settled FROM picks WHERE result IS NOT NULL "
                          "ORDER BY settled, id");
      while (s.executeStep()) {
        Pick p = OldPickOfRow(s);
        const std::string result = s.getColumn(9).getString();
        for (PickResult r :
             {PickResult::kWon, PickResult::kPlaced, PickResult::kUnplaced, PickResult::kVoid})
          if (result == PickResultName(r)) p.result = r;
        p.position = s.getColumn(10).isNull() ? 0 : s.getColumn(10).getInt();
        p.sp = OptionalDouble(s.getColumn(11));
        Append(EventOfPick(kEventSettled, p, s.getColumn(12).getString()), kAsVersion3);
        ++moved;
      }
    }
    db->exec("DROP TABLE picks");
    if (moved == 0) return;
    SQLite::Statement origin(*db, "INSERT INTO ledger_origin (migrated, began) VALUES (?, ?)");
    origin.bind(1, static_cast<int64_t>(moved));
    origin.bind(2, UtcNow());
    origin.exec();
  }

  void MoveRunnerRows() {
    RunnerDays(*db).MoveRowsOf("runner_parts_by_runner");
    db->exec("DROP TABLE runner_parts_by_runner");
  }

  void ReadChainEnd() {
    SQLite::Statement s(*db, "SELECT seq, hash FROM ledger ORDER BY seq DESC LIMIT 1");
    if (s.executeStep()) {
      lastSeq = s.getColumn(0).getInt64();
      lastHash = StoredHash(s.getColumn(1));
    } else {
      lastSeq = 0;
      lastHash = kChainStart;
    }
  }

  // The ledger of version 3 stores every event's prev and hash as text; a later version keeps
  // only the prevs that are not the hash of the row before, and a hash as its bytes.
  static constexpr bool kAsVersion3 = true;

  void Append(LedgerEvent event, bool asVersion3 = false) {
    event.seq = lastSeq + 1;
    const ChainedEvent c = Chain(std::move(event), lastHash, hasher);
    SQLite::Statement& s =
        Prepared(appendEvent, std::string("INSERT INTO ledger (") + kEventColumns +
                                  ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const LedgerEvent& e = c.event;
    s.bind(1, static_cast<int64_t>(e.seq));
    s.bind(2, e.kind);
    s.bind(3, e.at);
    s.bind(4, e.day);
    s.bind(5, e.time);
    s.bind(6, e.course);
    s.bind(7, e.runner);
    s.bind(8, e.system);
    s.bind(9, e.source);
    s.bind(10, static_cast<int64_t>(e.run));
    s.bind(11, e.price);
    s.bind(12, e.odds);
    s.bind(13, e.result);
    s.bind(14, e.position);
    s.bind(15, e.sp);
    // Its prev is the hash of the event before it, found there.
    if (asVersion3) {
      s.bind(16, c.prev);
    } else {
      s.bind(16);
    }
    if (const auto bytes = asVersion3 ? std::nullopt : BytesOfHex(c.hash)) {
      s.bind(17, bytes->data(), static_cast<int>(bytes->size()));
    } else {
      s.bind(17, c.hash);
    }
    s.exec();
    lastSeq = e.seq;
    lastHash = c.hash;
  }

  // The pick named by `p` as its events leave it; none when it was never made.
  std::optional<Pick> Current(const Pick& p) {
    SQLite::Statement& s =
        Prepared(eventsOfPick, std::string("SELECT ") + kEventColumns +
                                   " FROM ledger WHERE day = ? AND time = ? AND course = ? AND "
                                   "runner = ? AND system = ? AND run = ? ORDER BY seq");
    s.bind(1, FormatDate(p.day));
    s.bind(2, ValidUtf8(p.time));
    s.bind(3, ValidUtf8(p.course));
    s.bind(4, ValidUtf8(p.runner));
    s.bind(5, ValidUtf8(p.system));
    s.bind(6, static_cast<int64_t>(p.source == PickSource::kBacktest ? p.runId : 0));
    std::vector<LedgerEvent> events;
    while (s.executeStep()) events.push_back(EventOfRow(s).event);
    auto picks = PicksOfEvents(events);
    if (picks.empty()) return std::nullopt;
    return picks.front();
  }

  void WritePick(const PickChange& change, long long newRun) {
    Pick p = change.pick;
    if (p.source == PickSource::kBacktest && p.runId == 0) p.runId = newRun;
    const std::optional<Pick> now = Current(p);
    switch (change.kind) {
      case PickChange::kAdd:
        // The same pick made twice is one; a withdrawn one made again is made anew.
        if (now && !now->withdrawn) return;
        p.result = PickResult::kUnsettled;
        Append(EventOfPick(kEventMade, p, change.at));
        return;
      case PickChange::kWithdraw:
        if (!now || now->withdrawn || now->result != PickResult::kUnsettled) return;
        Append(EventOfPick(kEventWithdrawn, *now, change.at));
        return;
      case PickChange::kSettle: {
        if (!now || now->withdrawn) return;
        Pick settled = *now;
        settled.result = p.result;
        settled.position = p.position;
        settled.sp = p.sp;
        const LedgerEvent wanted = EventOfPick(kEventSettled, settled, change.at);
        if (now->result != PickResult::kUnsettled) {
          const LedgerEvent latest = EventOfPick(kEventSettled, *now, change.at);
          if (latest.result == wanted.result && latest.position == wanted.position &&
              latest.sp == wanted.sp)
            return;
          LedgerEvent again = wanted;
          again.kind = kEventResettled;
          Append(std::move(again));
          return;
        }
        Append(wanted);
        return;
      }
    }
  }

  void WriteMisses(const ArchiveWrite& w) {
    for (const RaceMiss& m : w.misses) {
      SQLite::Statement s(*db,
                          "INSERT OR IGNORE INTO result_misses (day, time, course, seen) VALUES "
                          "(?, ?, ?, ?)");
      s.bind(1, IsoDay(m.day));
      s.bind(2, m.time);
      s.bind(3, m.course);
      s.bind(4, IsoDay(m.seen));
      s.exec();
    }
    for (const RaceMiss& m : w.found) {
      SQLite::Statement s(*db,
                          "DELETE FROM result_misses WHERE day = ? AND time = ? AND course = ?");
      s.bind(1, IsoDay(m.day));
      s.bind(2, m.time);
      s.bind(3, m.course);
      s.exec();
    }
  }

  void WritePartsDay(const Date& day, const char* how) {
    SQLite::Statement s(*db, "INSERT OR IGNORE INTO parts_days (day, how) VALUES (?, ?)");
    s.bind(1, IsoDay(day));
    s.bind(2, how);
    s.exec();
  }

  void EndReads() {
    if (!readsHeld) return;
    readsHeld = false;
    db->exec("COMMIT");
  }

  std::vector<ChainedEvent> Events() {
    SQLite::Statement s(*db, std::string("SELECT ") + kEventColumns + " FROM ledger ORDER BY seq");
    std::vector<ChainedEvent> events;
    while (s.executeStep()) {
      ChainedEvent c = EventOfRow(s);
      // An event's prev is stored only where it is not the hash of the event before it.
      if (s.getColumn(15).isNull()) c.prev = events.empty() ? kChainStart : events.back().hash;
      events.push_back(std::move(c));
    }
    return events;
  }

  std::vector<Pick> AllPicks() { return SortedPicks(PicksOfEvents(Events())); }

  // Runs `work`, turning the database's errors into ArchiveError.
  template <typename F>
  auto Guarded(F&& work) -> decltype(work()) {
    try {
      return work();
    } catch (const SQLite::Exception& e) {
      throw Error(e.what());
    }
  }
};

SqliteArchive::SqliteArchive(const std::filesystem::path& file) : impl_(std::make_unique<Impl>()) {
  impl_->file = file;
  impl_->Guarded([&] { impl_->Open(); });
}

std::unique_ptr<SqliteArchive> SqliteArchive::OpenToRead(const std::filesystem::path& file) {
  auto archive = std::unique_ptr<SqliteArchive>(new SqliteArchive());
  archive->impl_->file = file;
  archive->impl_->onlyToRead = true;
  archive->impl_->Guarded([&] { archive->impl_->Open(); });
  return archive;
}

SqliteArchive::SqliteArchive() : impl_(std::make_unique<Impl>()) {}

SqliteArchive::~SqliteArchive() = default;

SQLite::Database& SqliteArchive::database() {
  return *impl_->db;
}

BodyPacker& SqliteArchive::packer() {
  return impl_->packer;
}

const std::filesystem::path& SqliteArchive::file() const {
  return impl_->file;
}

bool SqliteArchive::readOnly() const {
  return impl_->readOnly;
}

void SqliteArchive::ReopenAt(const std::filesystem::path& file,
                             const std::function<void()>& whileClosed) {
  std::filesystem::path open = impl_->file;
  impl_ = std::make_unique<Impl>();  // the last connection of ours closes
  try {
    whileClosed();
    open = file;
  } catch (...) {
    impl_->file = open;
    impl_->Guarded([&] { impl_->Open(); });
    throw;
  }
  impl_->file = open;
  impl_->Guarded([&] { impl_->Open(); });
}

long long SqliteArchive::Write(const ArchiveWrite& w) {
  // Read-only: nothing is recorded, as the front ends say when they open it.
  if (w.Empty() || impl_->readOnly) return 0;
  if (!w.answers.empty() && !w.day) throw impl_->Error("answers without their day");
  return impl_->Guarded([&] {
    impl_->EndReads();
    // A group kept by the reader may be one this write made and then rolled back.
    struct ForgetUnlessDone {
      BodyGroupReader& groups;
      bool done = false;
      ~ForgetUnlessDone() {
        if (!done) groups.Forget();
      }
    } forget{impl_->groups};
    SQLite::Transaction t(*impl_->db, SQLite::TransactionBehavior::IMMEDIATE);
    long long run = 0;
    if (w.newRun) {
      SQLite::Statement s(*impl_->db, "INSERT INTO runs (kind, day, started) VALUES (?, ?, ?)");
      s.bind(1, w.newRunKind);
      s.bind(2, IsoDay(*w.newRun));
      s.bind(3, UtcNow());
      s.exec();
      run = impl_->db->getLastInsertRowid();
    }
    bool newDay = false;
    if (w.day) {
      newDay = impl_->WriteDay(*w.day, w.hosts);
      impl_->WriteAnswers(*w.day, w.answers);
    }
    if (!w.picks.empty()) impl_->ReadChainEnd();
    for (const PickChange& change : w.picks) impl_->WritePick(change, run);
    impl_->WriteMisses(w);
    // A replayed day is noted as such before its races would note it as analysed live.
    for (const Date& day : w.partsDays) impl_->WritePartsDay(day, "replay");
    if (!w.races.empty() || !w.joined.empty()) {
      RunnerDays parts(*impl_->db);
      for (const auto& race : w.races)
        if (parts.StoreRace(race)) impl_->WritePartsDay(race.front().day, "live");
      for (const RunnerParts& row : w.joined) parts.Join(row);
      parts.Flush();
    }
    t.commit();
    forget.done = true;
    // A new day begins: the pages of the days before teach the dictionary, once.
    if (newDay && !impl_->packer.hasDictionary()) TrainArchiveDictionary(*this);
    return run;
  });
}

std::vector<Date> SqliteArchive::Days() {
  return impl_->Guarded([&] { return DaysOf(*impl_->db, "SELECT day FROM days ORDER BY day"); });
}

std::optional<StoredDay> SqliteArchive::LoadDay(const Date& day) {
  return impl_->Guarded([&]() -> std::optional<StoredDay> {
    SQLite::Statement d(*impl_->db,
                        "SELECT data_server, web_site, exchange_site, exchange_web, video_host "
                        "FROM days WHERE day = ?");
    d.bind(1, IsoDay(day));
    if (!d.executeStep()) return std::nullopt;
    StoredDay stored;
    stored.day = day;
    stored.hosts = {d.getColumn(0).getString(), d.getColumn(1).getString(),
                    d.getColumn(2).getString(), d.getColumn(3).getString(),
                    d.getColumn(4).getString()};
    // The bodies stay in the file until they are asked for.
    stored.answers = AnswerPacks(*impl_->db, impl_->packer).Day(IsoDay(day));
    return stored;
  });
}

long long SqliteArchive::StoreBody(const std::string& body) {
  if (impl_->readOnly) return 0;  // nothing is recorded: the body stays with its answer
  return impl_->Guarded([&] { return impl_->BodyId(body); });
}

std::optional<std::string> SqliteArchive::Body(long long id) {
  return impl_->Guarded([&] { return impl_->ReadBody(id); });
}

int SqliteArchive::RemoveOrphanBodies(std::chrono::seconds age) {
  return impl_->Guarded([&] { return impl_->RemoveOrphanBodies(age); });
}

std::string SqliteArchive::LastAnswer(const Date& day, const RequestKey& key) {
  return impl_->Guarded([&] {
    const auto id = AnswerPacks(*impl_->db, impl_->packer).LastBody(IsoDay(day), key);
    if (!id) return std::string();
    return impl_->ReadBody(*id).value_or(std::string());
  });
}

void SqliteArchive::BeginReads() {
  impl_->Guarded([&] {
    // Inside a transaction of someone else's the reads are held already.
    if (impl_->readsHeld || sqlite3_get_autocommit(impl_->db->getHandle()) == 0) return;
    impl_->db->exec("BEGIN");
    impl_->readsHeld = true;
  });
}

void SqliteArchive::EndReads() {
  impl_->Guarded([&] { impl_->EndReads(); });
}

std::vector<Pick> SqliteArchive::Picks() {
  return impl_->Guarded([&] { return impl_->AllPicks(); });
}

std::vector<Pick> SqliteArchive::UnsettledPicks() {
  return impl_->Guarded([&] {
    std::vector<Pick> picks = impl_->AllPicks();
    std::erase_if(picks,
                  [](const Pick& p) { return p.withdrawn || p.result != PickResult::kUnsettled; });
    return picks;
  });
}

std::vector<ChainedEvent> SqliteArchive::LedgerEvents() {
  return impl_->Guarded([&] { return impl_->Events(); });
}

ChainCheck SqliteArchive::CheckLedger() {
  return impl_->Guarded([&] {
    ChainCheck check = VerifyChain(impl_->Events());
    SQLite::Statement s(*impl_->db, "SELECT coalesce(sum(migrated), 0) FROM ledger_origin");
    if (s.executeStep()) check.migrated = s.getColumn(0).getInt64();
    return check;
  });
}

std::vector<RaceMiss> SqliteArchive::RaceMisses() {
  return impl_->Guarded([&] {
    SQLite::Statement s(*impl_->db, "SELECT day, time, course, seen FROM result_misses");
    std::vector<RaceMiss> misses;
    while (s.executeStep())
      misses.push_back({DayOfIso(s.getColumn(0).getString()), s.getColumn(1).getString(),
                        s.getColumn(2).getString(), DayOfIso(s.getColumn(3).getString())});
    return misses;
  });
}

std::vector<ArchiveRun> SqliteArchive::Runs() {
  return impl_->Guarded([&] {
    SQLite::Statement s(*impl_->db, "SELECT id, kind, day, started FROM runs ORDER BY id");
    std::vector<ArchiveRun> runs;
    while (s.executeStep())
      runs.push_back({s.getColumn(0).getInt64(), s.getColumn(1).getString(),
                      DayOfIso(s.getColumn(2).getString()), s.getColumn(3).getString()});
    return runs;
  });
}

std::vector<RunnerParts> SqliteArchive::AllRunnerParts() {
  return impl_->Guarded([&] { return RunnerDays(*impl_->db).All(); });
}

std::vector<Date> SqliteArchive::PartsDays() {
  return impl_->Guarded(
      [&] { return DaysOf(*impl_->db, "SELECT day FROM parts_days ORDER BY day"); });
}

std::vector<StoredSystem> SqliteArchive::Systems() {
  return impl_->Guarded([&] {
    SQLite::Statement s(*impl_->db,
                        "SELECT name, version, rule, created FROM systems WHERE deleted = 0 "
                        "ORDER BY name, version");
    std::vector<StoredSystem> systems;
    while (s.executeStep())
      systems.push_back({s.getColumn(0).getString(), s.getColumn(1).getInt(),
                         s.getColumn(2).getString(), s.getColumn(3).getString()});
    return systems;
  });
}

void SqliteArchive::WriteSystem(const StoredSystem& system) {
  if (impl_->readOnly) throw impl_->Error("read-only");
  impl_->Guarded([&] {
    SQLite::Statement s(*impl_->db,
                        "INSERT OR REPLACE INTO systems (name, version, rule, created, deleted) "
                        "VALUES (?, ?, ?, ?, 0)");
    s.bind(1, system.name);
    s.bind(2, system.version);
    s.bind(3, system.rule);
    s.bind(4, system.created.empty() ? UtcNow() : system.created);
    s.exec();
  });
}

void SqliteArchive::RenameSystem(const std::string& from, const std::string& to) {
  if (impl_->readOnly) throw impl_->Error("read-only");
  impl_->Guarded([&] {
    SQLite::Transaction t(*impl_->db, SQLite::TransactionBehavior::IMMEDIATE);
    // A deleted system of the new name makes room.
    SQLite::Statement drop(*impl_->db, "DELETE FROM systems WHERE name = ? AND deleted = 1");
    drop.bind(1, to);
    drop.exec();
    SQLite::Statement s(*impl_->db, "UPDATE systems SET name = ? WHERE name = ?");
    s.bind(1, to);
    s.bind(2, from);
    s.exec();
    t.commit();
  });
}

void SqliteArchive::DeleteSystem(const std::string& name) {
  if (impl_->readOnly) throw impl_->Error("read-only");
  impl_->Guarded([&] {
    // Kept, hidden: the picks of its versions stay in the ledger under their names.
    SQLite::Statement s(*impl_->db, "UPDATE systems SET deleted = 1 WHERE name = ?");
    s.bind(1, name);
    s.exec();
  });
}

}  // namespace trotix
