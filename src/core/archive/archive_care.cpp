#include "archive/archive_care.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <system_error>
#include <thread>

#include "archive/answer_packs.h"
#include "archive/body_codec.h"
#include "archive/body_groups.h"

namespace trotix {
namespace {

constexpr auto kBusyWait = std::chrono::seconds(30);
// The dictionary: 32 KiB learnt from about 2 MiB of pages of a few hundred bytes to 128 KiB.
// On the demo's pages a day packed against a dictionary learnt from another day takes 115 KB
// where zstd alone takes 296 KB (the pages as they came: 864 KB).
constexpr std::size_t kDictionaryBytes = 32 * 1024;
constexpr std::size_t kSampleMin = 256, kSampleMax = 128 * 1024;
constexpr std::size_t kSampleBytes = 2 * 1024 * 1024;
constexpr std::size_t kEnoughSamples = 200;

ArchiveError CareError(const std::filesystem::path& file, const std::string& what) {
  return ArchiveError("the archive " + file.string() + ": " + what);
}

long long SizeOnDisk(const std::filesystem::path& file) {
  long long bytes = 0;
  for (const char* suffix : {"", "-wal"}) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file.string() + suffix, error);
    if (!error) bytes += static_cast<long long>(size);
  }
  return bytes;
}

long long Count(SQLite::Database& db, const std::string& sql) {
  return db.execAndGet(sql).getInt64();
}

// A file made for the owner alone, as the archive itself is.
void CreateOwnerOnly(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd >= 0) ::close(fd);
}

void RemoveWithJournals(const std::filesystem::path& file) {
  std::error_code ignored;
  for (const char* suffix : {"", "-wal", "-shm", "-journal"})
    std::filesystem::remove(file.string() + suffix, ignored);
}

std::filesystem::path Beside(const std::filesystem::path& file, const char* suffix) {
  return file.string() + suffix;
}

// Runs `work` with SQLite's errors as ArchiveError about `file`.
template <typename F>
auto Guarded(const std::filesystem::path& file, F&& work) -> decltype(work()) {
  try {
    return work();
  } catch (const SQLite::Exception& e) {
    throw CareError(file, e.what());
  }
}

std::string IntegrityOf(sqlite3* db) {
  sqlite3_stmt* s = nullptr;
  std::string verdict = "cannot be checked";
  if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &s, nullptr) == SQLITE_OK &&
      sqlite3_step(s) == SQLITE_ROW)
    verdict = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
  sqlite3_finalize(s);
  return verdict;
}

// SQLite's online backup of `from` into the new file `to`, all pages in one step: in WAL mode
// that is one consistent moment read while writers go on, where a copy in steps would start over
// at each write of another program.
void CopyOnline(sqlite3* from, const std::filesystem::path& to) {
  CreateOwnerOnly(to);
  sqlite3* dest = nullptr;
  if (sqlite3_open_v2(to.c_str(), &dest, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    const std::string why = dest ? sqlite3_errmsg(dest) : "out of memory";
    sqlite3_close(dest);
    throw ArchiveError("the backup " + to.string() + ": " + why);
  }
  sqlite3_backup* backup = sqlite3_backup_init(dest, "main", from, "main");
  int rc = backup ? SQLITE_OK : sqlite3_errcode(dest);
  const auto until = std::chrono::steady_clock::now() + kBusyWait;
  while (backup) {
    rc = sqlite3_backup_step(backup, -1);
    if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED) break;
    if (std::chrono::steady_clock::now() >= until) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (backup) sqlite3_backup_finish(backup);
  std::string why = rc == SQLITE_DONE ? std::string() : sqlite3_errstr(rc);
  if (why.empty()) {
    const std::string verdict = IntegrityOf(dest);
    if (verdict != "ok") why = "the copy fails its integrity check: " + verdict;
  }
  sqlite3_close(dest);
  if (!why.empty()) {
    RemoveWithJournals(to);
    throw ArchiveError("the backup " + to.string() + ": " + why);
  }
}

// Two answers as the archive gives them back.
bool SameAnswer(const RecordedAnswer& a, const RecordedAnswer& b) {
  if (a.key != b.key || a.arrived != b.arrived) return false;
  if (a.key.probe) return a.probe == b.probe;
  return a.answer.status == b.answer.status && a.answer.failed == b.answer.failed &&
         a.answer.error == b.answer.error && a.bodyId == b.bodyId;
}

std::string IsoText(const Date& day) {
  char iso[16];
  std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", day.year, day.month, day.day);
  return iso;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code error;
  return std::filesystem::exists(a, error) && std::filesystem::equivalent(a, b, error);
}

}  // namespace

long long ArchiveFileBytes(const std::filesystem::path& file) {
  return SizeOnDisk(file);
}

ArchiveInfo DescribeArchive(SqliteArchive& archive) {
  ArchiveInfo info;
  info.picks = static_cast<long long>(archive.Picks().size());
  return Guarded(archive.file(), [&] {
    SQLite::Database& db = archive.database();
    info.days = Count(db, "SELECT count(*) FROM days");
    // An older archive opened read-only has its answers a row each alone.
    const bool packed = db.tableExists("answer_packs");
    info.answersToPack = Count(db, "SELECT count(*) FROM answers");
    info.answers = info.answersToPack +
                   (packed ? Count(db, "SELECT coalesce(sum(count), 0) FROM answer_packs") : 0);
    info.events = Count(db, "SELECT count(*) FROM ledger");
    info.bytes = SizeOnDisk(archive.file());
    // Each body under the role of the first answer that refers to it.
    SQLite::Statement s(
        db, std::string("SELECT a.role, sum(length(b.body)) FROM bodies b JOIN (SELECT body_id, "
                        "min(role) AS role FROM (SELECT body_id, role FROM answers WHERE body_id "
                        "IS NOT NULL") +
                (packed ? " UNION ALL SELECT body_id, role FROM body_refs" : "") +
                ") GROUP BY body_id) a ON a.body_id = b.id GROUP BY a.role");
    long long bodies = 0;
    while (s.executeStep()) {
      info.bytesByKind[s.getColumn(0).getString()] = s.getColumn(1).getInt64();
      bodies += s.getColumn(1).getInt64();
    }
    // A group's bodies are its frame's bytes, under the role its bodies share.
    if (db.tableExists("body_groups")) {
      SQLite::Statement g(db, "SELECT role, sum(length(frame)) FROM body_groups GROUP BY role");
      while (g.executeStep()) {
        info.bytesByKind[g.getColumn(0).getString()] += g.getColumn(1).getInt64();
        bodies += g.getColumn(1).getInt64();
      }
    }
    info.bytesByKind["other"] = std::max(0LL, info.bytes - bodies);
    // An older archive opened read-only has every body as it came.
    if (db.tableExists("body_packing")) {
      SQLite::Statement p(db,
                          "SELECT count(*) FROM bodies, body_packing WHERE codec = 0 AND "
                          "id > done_to AND id <= last");
      if (p.executeStep()) info.bodiesToPack = p.getColumn(0).getInt64();
    } else {
      info.bodiesToPack = Count(db, "SELECT count(*) FROM bodies");
    }
    return info;
  });
}

void BackUpArchive(SqliteArchive& archive, const std::filesystem::path& to) {
  if (SameFile(to, archive.file()))
    throw ArchiveError("the backup " + to.string() + " would be the archive itself");
  const auto part = Beside(to, ".part");
  RemoveWithJournals(part);
  CopyOnline(archive.database().getHandle(), part);
  std::error_code error;
  std::filesystem::rename(part, to, error);
  if (error) {
    RemoveWithJournals(part);
    throw ArchiveError("the backup " + to.string() + ": " + error.message());
  }
}

std::pair<long long, long long> VacuumArchive(SqliteArchive& archive) {
  if (archive.readOnly()) throw CareError(archive.file(), "read-only");
  const long long before = SizeOnDisk(archive.file());
  Guarded(archive.file(), [&] {
    archive.database().exec("VACUUM");
    archive.database().exec("PRAGMA wal_checkpoint(TRUNCATE)");
  });
  return {before, SizeOnDisk(archive.file())};
}

void ExportDay(SqliteArchive& archive, const Date& day, const std::filesystem::path& to) {
  const auto stored = archive.LoadDay(day);
  if (!stored) throw CareError(archive.file(), "holds no day " + FormatDate(day));
  if (SameFile(to, archive.file()))
    throw ArchiveError("the export " + to.string() + " would be the archive itself");
  const auto part = Beside(to, ".part");
  RemoveWithJournals(part);
  {
    SqliteArchive out(part);  // an empty archive of this version: the schema the import expects
    Guarded(part, [&] {
      SQLite::Database& db = out.database();
      SQLite::Statement attach(db, "ATTACH DATABASE ? AS source");
      attach.bind(1, archive.file().string());
      attach.exec();
      {
        // The day and its bodies as they are packed here, with the dictionary they need.
        SQLite::Transaction t(db, SQLite::TransactionBehavior::IMMEDIATE);
        SQLite::Statement days(db,
                               "INSERT INTO days (day, data_server, web_site, exchange_site, "
                               "exchange_web, video_host, first_signed_in) SELECT day, "
                               "data_server, web_site, exchange_site, exchange_web, video_host, "
                               "first_signed_in FROM source.days WHERE day = ?");
        days.bind(1, IsoText(day));
        days.exec();
        // A grouped body comes with its whole group: the file holds all it needs.
        const bool grouped = archive.database().tableExists("body_groups");
        SQLite::Statement body(db, std::string("INSERT OR IGNORE INTO bodies (id, hash, size, "
                                               "body, stored, codec, group_id, group_offset) "
                                               "SELECT id, hash, size, body, stored, codec, ") +
                                       (grouped ? "group_id, group_offset" : "NULL, NULL") +
                                       " FROM source.bodies WHERE id = ?");
        for (const RecordedAnswer& a : stored->answers) {
          if (a.bodyId == 0) continue;
          body.bind(1, static_cast<int64_t>(a.bodyId));
          body.exec();
          body.reset();
        }
        if (grouped)
          db.exec(
              "INSERT INTO body_groups (id, role, codec, size, frame) SELECT id, role, codec, "
              "size, frame FROM source.body_groups WHERE id IN (SELECT group_id FROM bodies "
              "WHERE group_id IS NOT NULL)");
        db.exec(
            "INSERT INTO body_dictionary (id, dictionary, trained) SELECT id, dictionary, "
            "trained FROM source.body_dictionary WHERE EXISTS (SELECT 1 FROM bodies WHERE "
            "codec = 2) OR EXISTS (SELECT 1 FROM body_groups WHERE codec = 2)");
        t.commit();
      }
      db.exec("DETACH DATABASE source");
    });
    ArchiveWrite write;
    write.day = day;
    write.hosts = stored->hosts;
    write.answers = stored->answers;
    out.Write(write);
  }
  std::error_code error;
  std::filesystem::remove(Beside(part, "-wal"), error);
  std::filesystem::remove(Beside(part, "-shm"), error);
  std::filesystem::rename(part, to, error);
  if (error) {
    RemoveWithJournals(part);
    throw ArchiveError("the export " + to.string() + ": " + error.message());
  }
}

ImportedDays ImportDays(SqliteArchive& archive, const std::filesystem::path& from) {
  if (archive.readOnly()) throw CareError(archive.file(), "read-only: nothing can be imported");
  if (!std::filesystem::exists(from)) throw ArchiveError("there is no file " + from.string());
  if (SameFile(from, archive.file()))
    throw ArchiveError("the import " + from.string() + " is the archive itself");
  SqliteArchive source(from);
  const std::vector<Date> held = archive.Days();
  ImportedDays imported;
  for (const Date& day : source.Days()) {
    if (std::binary_search(held.begin(), held.end(), day)) {
      imported.present.push_back(day);
      continue;
    }
    auto stored = source.LoadDay(day);
    if (!stored) continue;
    ArchiveWrite write;
    write.day = day;
    write.hosts = stored->hosts;
    // Body by body, each stored once here however often the file holds it.
    for (RecordedAnswer& a : stored->answers) {
      if (a.bodyId != 0) {
        auto body = source.Body(a.bodyId);
        if (!body) throw CareError(from, "an answer of " + FormatDate(day) + " lacks its body");
        a.bodyId = archive.StoreBody(*body);
      }
      write.answers.push_back(std::move(a));
    }
    archive.Write(write);
    imported.added.push_back(day);
  }
  return imported;
}

bool TrainArchiveDictionary(SqliteArchive& archive) {
  if (archive.readOnly() || archive.packer().hasDictionary()) return false;
  return Guarded(archive.file(), [&] {
    SQLite::Database& db = archive.database();
    // The newest bodies of a size worth learning from, as they came.
    SQLite::Statement s(db,
                        "SELECT codec, body, size, id FROM bodies WHERE size BETWEEN ? AND ? "
                        "ORDER BY id DESC");
    s.bind(1, static_cast<int64_t>(kSampleMin));
    s.bind(2, static_cast<int64_t>(kSampleMax));
    std::vector<std::string> samples;
    std::size_t bytes = 0;
    while (bytes < kSampleBytes && s.executeStep()) {
      const SQLite::Column packed = s.getColumn(1);
      const auto codec = static_cast<BodyCodec>(s.getColumn(0).getInt());
      std::optional<std::string> body;
      if (codec != BodyCodec::kGrouped) {
        body =
            archive.packer().Unpack(codec,
                                    std::string_view(static_cast<const char*>(packed.getBlob()),
                                                     static_cast<std::size_t>(packed.getBytes())),
                                    static_cast<std::size_t>(s.getColumn(2).getInt64()));
      } else {
        // Through the archive, which keeps the group unpacked for the next of its bodies.
        try {
          body = archive.Body(s.getColumn(3).getInt64());
        } catch (const ArchiveError&) {
        }
      }
      if (!body) continue;
      bytes += body->size();
      samples.push_back(std::move(*body));
    }
    if (samples.size() < kEnoughSamples) return false;
    const std::string dictionary = TrainBodyDictionary(samples, kDictionaryBytes);
    if (dictionary.empty()) return false;
    SQLite::Statement insert(
        db, "INSERT INTO body_dictionary (id, dictionary, trained) VALUES (1, ?, ?)");
    insert.bind(1, dictionary.data(), static_cast<int>(dictionary.size()));
    insert.bind(2, UtcNow());
    // Another program may have trained it first: theirs is the one.
    try {
      insert.exec();
    } catch (const SQLite::Exception&) {
    }
    SQLite::Statement read(db, "SELECT dictionary FROM body_dictionary WHERE id = 1");
    if (read.executeStep()) archive.packer().UseDictionary(read.getColumn(0).getString());
    return archive.packer().hasDictionary();
  });
}

std::filesystem::path OldArchiveCopy(const std::filesystem::path& file) {
  return Beside(file, ".old");
}

PackingEnd PackStoredBodies(SqliteArchive& archive,
                            const std::function<bool(long long done, long long total)>& goOn,
                            int batch) {
  if (archive.readOnly()) throw CareError(archive.file(), "read-only: its bodies stay as they are");
  const auto old = OldArchiveCopy(archive.file());
  SQLite::Database& db = archive.database();
  BodyPacker& packer = archive.packer();
  return Guarded(archive.file(), [&] {
    long long doneTo = 0, last = 0;
    const auto readState = [&] {
      SQLite::Statement s(db, "SELECT done_to, last FROM body_packing");
      if (s.executeStep()) {
        doneTo = s.getColumn(0).getInt64();
        last = s.getColumn(1).getInt64();
      }
    };
    readState();
    AnswerPacks packs(db, packer);
    // Answers are packed a day at a time, after the bodies: a day is one unit of the progress.
    const long long daysLeft = Count(db, "SELECT count(DISTINCT day) FROM answers");
    const long long days = std::max(daysLeft, Count(db, "SELECT count(*) FROM days"));
    long long daysDone = days - daysLeft;
    if ((doneTo < last || daysLeft > 0) && !std::filesystem::exists(old))
      BackUpArchive(archive, old);
    if (doneTo < last || daysLeft > 0) TrainArchiveDictionary(archive);
    const auto countTo = [&](long long id) {
      SQLite::Statement s(db, "SELECT count(*) FROM bodies WHERE id <= ?");
      s.bind(1, static_cast<int64_t>(id));
      s.executeStep();
      return s.getColumn(0).getInt64();
    };
    const long long bodyCount = countTo(last), total = bodyCount + days;
    while (doneTo < last) {
      {
        SQLite::Transaction t(db, SQLite::TransactionBehavior::IMMEDIATE);
        readState();  // another program may have packed some meanwhile
        SQLite::Statement rows(db,
                               "SELECT id, codec, size, body FROM bodies WHERE id > ? AND id <= ? "
                               "ORDER BY id LIMIT ?");
        rows.bind(1, static_cast<int64_t>(doneTo));
        rows.bind(2, static_cast<int64_t>(last));
        rows.bind(3, batch);
        SQLite::Statement update(db, "UPDATE bodies SET codec = ?, body = ? WHERE id = ?");
        long long reached = last;
        int seen = 0;
        while (rows.executeStep()) {
          reached = rows.getColumn(0).getInt64();
          ++seen;
          if (rows.getColumn(1).getInt() != static_cast<int>(BodyCodec::kPlain)) continue;
          const SQLite::Column bytes = rows.getColumn(3);
          const PackedBody packed =
              packer.Pack(std::string_view(static_cast<const char*>(bytes.getBlob()),
                                           static_cast<std::size_t>(bytes.getBytes())));
          if (packed.codec == BodyCodec::kPlain) continue;
          update.bind(1, static_cast<int>(packed.codec));
          update.bind(2, packed.bytes.data(), static_cast<int>(packed.bytes.size()));
          update.bind(3, static_cast<int64_t>(reached));
          update.exec();
          update.reset();
        }
        if (seen < batch) reached = last;
        SQLite::Statement mark(db, "UPDATE body_packing SET done_to = ?");
        mark.bind(1, static_cast<int64_t>(reached));
        mark.exec();
        t.commit();
        doneTo = reached;
      }
      if (goOn && !goOn(countTo(doneTo) + daysDone, total) && doneTo < last)
        return PackingEnd::kStopped;
    }
    for (;;) {
      {
        SQLite::Transaction t(db, SQLite::TransactionBehavior::IMMEDIATE);
        const auto day = packs.FirstUnpackedDay();
        if (!day) break;
        packs.PackDay(*day);
        t.commit();
      }
      daysDone = std::min(days, daysDone + 1);
      if (goOn && !goOn(bodyCount + daysDone, total) && packs.FirstUnpackedDay())
        return PackingEnd::kStopped;
    }
    if (!std::filesystem::exists(old)) return PackingEnd::kDone;
    // Checked before the copy goes: the file as a whole, then each body against the copy's.
    const std::string verdict = IntegrityOf(db.getHandle());
    if (verdict != "ok")
      throw CareError(archive.file(), "fails its integrity check after packing (" + verdict +
                                          "); " + old.string() + " is kept");
    SQLite::Database copy(old, SQLite::OPEN_READONLY);
    const bool copyHasGroups = [&] {
      SQLite::Statement s(copy, "SELECT 1 FROM sqlite_master WHERE name = 'body_groups'");
      return s.executeStep();
    }();
    SQLite::Statement bodies(copy, std::string("SELECT id, codec, size, body, ") +
                                       (copyHasGroups ? "group_id, group_offset" : "NULL, NULL") +
                                       " FROM bodies ORDER BY id");
    BodyGroupReader copyGroups;
    SQLite::Statement referred(db,
                               "SELECT 1 FROM body_refs WHERE body_id = ?1 UNION ALL SELECT 1 "
                               "FROM answers WHERE body_id = ?1 LIMIT 1");
    const bool copyHasCodec = [&] {
      SQLite::Statement s(copy, "SELECT 1 FROM pragma_table_info('bodies') WHERE name = 'codec'");
      return s.executeStep();
    }();
    while (bodies.executeStep()) {
      const long long id = bodies.getColumn(0).getInt64();
      const SQLite::Column bytes = bodies.getColumn(3);
      const auto codec =
          copyHasCodec ? static_cast<BodyCodec>(bodies.getColumn(1).getInt()) : BodyCodec::kPlain;
      const auto size = static_cast<std::size_t>(bodies.getColumn(2).getInt64());
      const auto was =
          codec == BodyCodec::kGrouped && !bodies.getColumn(4).isNull()
              ? copyGroups.Read(copy, packer, bodies.getColumn(4).getInt64(),
                                bodies.getColumn(5).getInt64(), size)
              : packer.Unpack(codec,
                              std::string_view(static_cast<const char*>(bytes.getBlob()),
                                               static_cast<std::size_t>(bytes.getBytes())),
                              size);
      std::optional<std::string> now;
      try {
        now = archive.Body(id);
      } catch (const ArchiveError&) {
      }
      // A body gone since is one no answer referred to, tidied away as such.
      if (!now) {
        referred.bind(1, static_cast<int64_t>(id));
        const bool used = referred.executeStep();
        referred.reset();
        if (!used) continue;
      }
      if (!was || !now || *was != *now)
        throw CareError(archive.file(), "body " + std::to_string(id) + " differs from " +
                                            old.string() + " after packing, which is kept");
    }
    // Then each day's answers: those the copy holds come first and unchanged (a command may have
    // added more since it was made).
    AnswerPacks before(copy, packer);
    SQLite::Statement storedDays(copy, "SELECT day FROM days ORDER BY day");
    while (storedDays.executeStep()) {
      const std::string day = storedDays.getColumn(0).getString();
      const std::vector<RecordedAnswer> was = before.Day(day), now = packs.Day(day);
      if (now.size() < was.size() || !std::equal(was.begin(), was.end(), now.begin(), SameAnswer))
        throw CareError(archive.file(), "the answers of " + day + " differ from " + old.string() +
                                            " after packing, which is kept");
    }
    RemoveWithJournals(old);
    return PackingEnd::kDone;
  });
}

bool HasBodiesToPack(SqliteArchive& archive) {
  return Guarded(archive.file(), [&] {
    SQLite::Database& db = archive.database();
    if (!db.tableExists("body_packing")) return true;
    SQLite::Statement s(db,
                        "SELECT 1 FROM body_packing WHERE done_to < last UNION ALL "
                        "SELECT 1 FROM (SELECT 1 FROM answers LIMIT 1)");
    return s.executeStep();
  });
}

}  // namespace trotix
