// The archive's bodies packed and the care of its file, on real SQLite files: the release's
// archive migrated with a stop half-way, a migration that finds a body changed, a day carried
// to an empty archive, and backups.
#include <gtest/gtest.h>

#include <SQLiteCpp/SQLiteCpp.h>
#include <sys/stat.h>

#include <random>
#include <tuple>

#include "archive/archive_care.h"
#include "archive/body_codec.h"
#include "archive/sqlite_archive.h"
#include "support/release_archive.h"
#include "support/temp_folder.h"

namespace trotix {
namespace {

using testing::TempFolder;
using testing::UnpackReleaseArchive;

constexpr Date kDay{2026, 12, 8};

// Pages of one shape, their figures at random.
std::string RunnerPage(int n) {
  std::mt19937 random(n);
  const auto figure = [&] { return std::to_string(random() % 1000); };
  std::string page = "<html><head><title>Runner " + figure() +
                     "</title></head><body><table class=\"runner-form\">";
  for (int i = 0; i < 20; ++i)
    page += "<tr class=\"form-line\"><td class=\"date\">" + figure() +
            "</td><td class=\"course\">Kempton Park</td><td class=\"going\">Good to Soft</td>"
            "<td class=\"odds\">" +
            figure() + "</td></tr>\n";
  return page + "</table></body></html>";
}

std::string RandomBytes(std::size_t n) {
  std::mt19937 random(11);
  std::string bytes(n, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

TEST(BodyCodec, EveryBodyComesBackAsItWas) {
  BodyPacker packer;
  std::vector<std::string> pages;
  for (int i = 0; i < 300; ++i) pages.push_back(RunnerPage(i));
  const std::string dictionary = TrainBodyDictionary(pages, 16 * 1024);
  ASSERT_FALSE(dictionary.empty());
  const struct {
    const char* what;
    std::string body;
    bool dictionary;
    BodyCodec codec;
  } cases[] = {
      {"empty", "", false, BodyCodec::kPlain},
      {"three bytes", "abc", false, BodyCodec::kPlain},
      {"random bytes do not shrink", RandomBytes(5000), false, BodyCodec::kPlain},
      {"a page", RunnerPage(1000), false, BodyCodec::kZstd},
      {"a page against the dictionary", RunnerPage(1001), true, BodyCodec::kZstdDict},
      {"a megabyte of padding", std::string(1 << 20, 'p'), false, BodyCodec::kZstd},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    packer.UseDictionary(c.dictionary ? dictionary : "");
    const PackedBody packed = packer.Pack(c.body);
    EXPECT_EQ(packed.codec, c.codec);
    EXPECT_LE(packed.bytes.size(), c.body.size());
    EXPECT_EQ(packer.Unpack(packed.codec, packed.bytes, c.body.size()), c.body);
    if (packed.codec == BodyCodec::kPlain) continue;
    // Damaged bytes, a wrong size or a missing dictionary never read as a body.
    std::string damaged = packed.bytes;
    damaged[damaged.size() / 2] ^= 0x20;
    EXPECT_EQ(packer.Unpack(packed.codec, damaged, c.body.size()), std::nullopt);
    EXPECT_EQ(packer.Unpack(packed.codec, packed.bytes, c.body.size() + 1), std::nullopt);
    EXPECT_EQ(BodyPacker().Unpack(packed.codec, packed.bytes, c.body.size()),
              c.dictionary ? std::nullopt : std::optional<std::string>(c.body));
  }
  // The dictionary pays on pages of one shape.
  BodyPacker plain;
  packer.UseDictionary(dictionary);
  EXPECT_LT(packer.Pack(RunnerPage(2000)).bytes.size() * 10,
            plain.Pack(RunnerPage(2000)).bytes.size() * 8);
}

// Every answer of the day with its body, as read through the archive.
std::vector<std::tuple<RequestKey, int, std::string, std::string>> DayAsRead(SqliteArchive& a) {
  std::vector<std::tuple<RequestKey, int, std::string, std::string>> out;
  const auto day = a.LoadDay(kDay);
  for (const RecordedAnswer& r : day->answers)
    out.emplace_back(r.key, r.answer.status, r.arrived,
                     r.bodyId ? a.Body(r.bodyId).value_or("(unreadable)") : "");
  return out;
}

long long PlainBodies(const std::filesystem::path& file) {
  SQLite::Database db(file);
  return db.execAndGet("SELECT count(*) FROM bodies WHERE codec = 0").getInt64();
}

TEST(ArchiveCare, ReleaseArchiveMigratesWithAStopHalfWay) {
  TempFolder folder;
  const auto original = folder.path() / "release.db", file = folder.path() / kArchiveFileName;
  ASSERT_TRUE(UnpackReleaseArchive(original));
  std::filesystem::copy_file(original, file);
  SqliteArchive reference(original);
  const auto before = DayAsRead(reference);
  ASSERT_GT(before.size(), 500u);
  const auto bytesBefore = std::filesystem::file_size(file);
  {
    SqliteArchive store(file);
    const long long toPack = DescribeArchive(store).bodiesToPack,
                    days = DescribeArchive(store).days;
    EXPECT_GT(toPack, 500);
    int batches = 0;
    const auto end = PackStoredBodies(
        store,
        [&](long long done, long long total) {
          EXPECT_EQ(total, toPack + days);  // the bodies, then each day's answers
          EXPECT_EQ(done, 50 * (batches + 1));
          return ++batches < 3;
        },
        50);
    EXPECT_EQ(end, PackingEnd::kStopped);
    EXPECT_TRUE(std::filesystem::exists(OldArchiveCopy(file)));
    EXPECT_EQ(DescribeArchive(store).bodiesToPack, toPack - 150);
    EXPECT_TRUE(HasBodiesToPack(store));
    // Half packed, the day reads as it did.
    EXPECT_EQ(DayAsRead(store), before);
  }
  // As after a restart: it goes on from where it stopped.
  SqliteArchive store(file);
  std::vector<long long> seen;
  EXPECT_EQ(PackStoredBodies(store,
                             [&](long long done, long long) {
                               seen.push_back(done);
                               return true;
                             }),
            PackingEnd::kDone);
  ASSERT_FALSE(seen.empty());
  EXPECT_GT(seen.front(), 150);
  EXPECT_FALSE(std::filesystem::exists(OldArchiveCopy(file)));
  EXPECT_EQ(DescribeArchive(store).bodiesToPack, 0);
  EXPECT_FALSE(HasBodiesToPack(store));
  EXPECT_EQ(DayAsRead(store), before);
  // A page the release stored, under its whole hash, is found again rather than stored twice.
  EXPECT_EQ(store.StoreBody(*store.Body(300)), 300);
  EXPECT_EQ(store.Picks().size(), reference.Picks().size());
  EXPECT_TRUE(store.CheckLedger().intact);
  VacuumArchive(store);
  EXPECT_LT(std::filesystem::file_size(file) * 2, bytesBefore);
  EXPECT_LT(PlainBodies(file), 10);
}

TEST(ArchiveCare, MigrationKeepsTheOldFileWhenABodyDiffers) {
  TempFolder folder;
  const auto file = folder.path() / kArchiveFileName;
  ASSERT_TRUE(UnpackReleaseArchive(file));
  SqliteArchive store(file);
  EXPECT_EQ(PackStoredBodies(
                store, [](long long, long long) { return false; }, 20),
            PackingEnd::kStopped);
  {
    // The copy disagrees with what the archive holds for one body.
    SQLite::Database old(OldArchiveCopy(file), SQLite::OPEN_READWRITE);
    old.exec("UPDATE bodies SET body = 'changed', size = 7 WHERE id = 300");
  }
  try {
    PackStoredBodies(store, {});
    FAIL() << "the check passed";
  } catch (const ArchiveError& e) {
    EXPECT_NE(std::string(e.what()).find("body 300 differs"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(std::filesystem::exists(OldArchiveCopy(file)));
}

TEST(ArchiveCare, ReleaseArchiveReadOnlyIsReadAsItIs) {
  TempFolder folder;
  const auto file = folder.path() / kArchiveFileName, copy = folder.path() / "copy.db";
  ASSERT_TRUE(UnpackReleaseArchive(file));
  ASSERT_TRUE(UnpackReleaseArchive(copy));
  ::chmod(file.c_str(), 0444);
  SqliteArchive store(file);
  ASSERT_TRUE(store.readOnly());
  SqliteArchive writable(copy);
  EXPECT_EQ(DayAsRead(store), DayAsRead(writable));
  EXPECT_EQ(DescribeArchive(store).bodiesToPack, DescribeArchive(writable).bodiesToPack);
  EXPECT_TRUE(HasBodiesToPack(store));
  EXPECT_TRUE(HasBodiesToPack(writable));
  EXPECT_THROW(PackStoredBodies(store, {}), ArchiveError);
}

// The ledger is stored anew without the prevs that repeat the row before: every event reads as
// it was, and a prev bent before the move is still there to be named.
TEST(ArchiveCare, ReleaseLedgerMovesWithEveryEventAsItWas) {
  for (const bool bent : {false, true}) {
    SCOPED_TRACE(bent ? "a prev bent before" : "as the release left it");
    TempFolder folder;
    const auto file = folder.path() / kArchiveFileName;
    ASSERT_TRUE(UnpackReleaseArchive(file));
    std::vector<std::tuple<long long, std::string, std::string>> rows;
    {
      SQLite::Database db(file, SQLite::OPEN_READWRITE);
      if (bent)
        db.exec(
            "DROP TRIGGER ledger_no_update; UPDATE ledger SET prev = hash WHERE seq = 5; "
            "CREATE TRIGGER ledger_no_update BEFORE UPDATE ON ledger BEGIN SELECT RAISE(ABORT, "
            "'the ledger only grows'); END");
      SQLite::Statement s(db, "SELECT seq, prev, hash FROM ledger ORDER BY seq");
      while (s.executeStep())
        rows.emplace_back(s.getColumn(0).getInt64(), s.getColumn(1).getString(),
                          s.getColumn(2).getString());
    }
    ASSERT_GT(rows.size(), 100u);
    SqliteArchive store(file);
    std::vector<std::tuple<long long, std::string, std::string>> now;
    for (const ChainedEvent& e : store.LedgerEvents())
      now.emplace_back(e.event.seq, e.prev, e.hash);
    EXPECT_EQ(now, rows);
    EXPECT_EQ(store.database()
                  .execAndGet("SELECT count(*) FROM ledger WHERE prev IS NOT NULL")
                  .getInt64(),
              bent ? 1 : 0);
    const ChainCheck check = store.CheckLedger();
    EXPECT_EQ(check.intact, !bent);
    EXPECT_EQ(check.badEvent, bent ? 5 : 0);
  }
}

TEST(ArchiveCare, ExportedDayImportsIntoAnEmptyArchiveWithoutTheLedger) {
  TempFolder folder;
  const auto file = folder.path() / "release.db", day = folder.path() / "day.trotix",
             empty = folder.path() / "empty.db";
  ASSERT_TRUE(UnpackReleaseArchive(file));
  SqliteArchive store(file);
  EXPECT_GT(store.LedgerEvents().size(), 0u);
  ExportDay(store, kDay, day);
  EXPECT_THROW(ExportDay(store, {2026, 1, 1}, folder.path() / "none"), ArchiveError);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "none"));
  EXPECT_THROW(ExportDay(store, kDay, file), ArchiveError);
  EXPECT_THROW(BackUpArchive(store, file), ArchiveError);

  SqliteArchive target(empty);
  const ImportedDays imported = ImportDays(target, day);
  EXPECT_EQ(imported.added, std::vector<Date>{kDay});
  EXPECT_EQ(DayAsRead(target), DayAsRead(store));
  EXPECT_EQ(target.LoadDay(kDay)->hosts.dataServer, store.LoadDay(kDay)->hosts.dataServer);
  const ArchiveInfo info = DescribeArchive(target);
  EXPECT_EQ(info.events, 0);
  EXPECT_EQ(info.picks, 0);
  EXPECT_EQ(info.days, 1);
  EXPECT_EQ(info.answers, static_cast<long long>(store.LoadDay(kDay)->answers.size()));
  // Again: the day is there already and stays as it is.
  const ImportedDays again = ImportDays(target, day);
  EXPECT_TRUE(again.added.empty());
  EXPECT_EQ(again.present, std::vector<Date>{kDay});
  EXPECT_EQ(DescribeArchive(target).answers, info.answers);
}

TEST(ArchiveCare, BackupIsTheArchiveAtOneMoment) {
  TempFolder folder;
  const auto file = folder.path() / "release.db", copy = folder.path() / "backup.db";
  ASSERT_TRUE(UnpackReleaseArchive(file));
  SqliteArchive store(file);
  std::ofstream(copy) << "an older backup";
  BackUpArchive(store, copy);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "backup.db.part"));
  SQLite::Database check(copy);
  EXPECT_EQ(check.execAndGet("PRAGMA integrity_check").getString(), "ok");
  SqliteArchive backup(copy);
  EXPECT_EQ(DayAsRead(backup), DayAsRead(store));
  EXPECT_EQ(backup.LedgerEvents().size(), store.LedgerEvents().size());
  EXPECT_THROW(BackUpArchive(store, folder.path() / "no such folder" / "b.db"), ArchiveError);
}

TEST(ArchiveCare, NewBodiesArePackedAndTheDictionaryIsLearntOnce) {
  TempFolder folder;
  const auto file = folder.path() / kArchiveFileName;
  SqliteArchive store(file);
  for (int day = 1; day <= 2; ++day) {
    ArchiveWrite write;
    write.day = Date{2026, 12, day};
    for (int i = 0; i < 300; ++i) {
      RecordedAnswer a;
      a.key = {"web", "/runner", "n=" + std::to_string(i)};
      a.answer.status = 200;
      a.bodyId = store.StoreBody(RunnerPage(day * 1000 + i));
      write.answers.push_back(a);
    }
    store.Write(write);
  }
  SQLite::Database db(file);
  EXPECT_EQ(db.execAndGet("SELECT count(*) FROM body_dictionary").getInt(), 1);
  EXPECT_EQ(db.execAndGet("SELECT count(*) FROM bodies WHERE codec = 0").getInt(), 0);
  EXPECT_EQ(store.Body(store.LoadDay(Date{2026, 12, 2})->answers[7].bodyId), RunnerPage(2007));
  // Another connection reads the dictionary's bodies too.
  SqliteArchive reader(file);
  EXPECT_EQ(reader.Body(store.LoadDay(Date{2026, 12, 1})->answers[9].bodyId), RunnerPage(1009));
  EXPECT_FALSE(HasBodiesToPack(store));
}

}  // namespace
}  // namespace trotix
