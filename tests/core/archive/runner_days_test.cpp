// The runners of analysed races as the archive keeps them, a day to a packed row: awkward values
// through a write, a join and a read back bit for bit, the rule that keeps a race analysed
// before its off, the rows of an older archive moved in, and damaged rows never read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <SQLiteCpp/SQLiteCpp.h>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

#include "archive/runner_days.h"
#include "archive/sqlite_archive.h"
#include "support/temp_folder.h"

namespace trotix {
namespace {

using testing::TempFolder;

constexpr Date kMonday{2026, 12, 7}, kTuesday{2026, 12, 8};

RunnerParts Runner(const Date& day, const std::string& time, const std::string& course, int order,
                   const std::string& name) {
  RunnerParts r;
  r.day = day;
  r.time = time;
  r.course = course;
  r.order = order;
  r.runner = name;
  for (int i = 0; i < kPartCount; ++i) r.parts[i] = order * 10 + i;
  r.price = 3.5;
  r.analysed = "2026-12-08T11:02:03.004Z";
  return r;
}

bool SameNumber(std::optional<double> a, std::optional<double> b) {
  if (!a || !b) return !a && !b;
  return std::bit_cast<uint64_t>(*a) == std::bit_cast<uint64_t>(*b);
}

void ExpectSame(const RunnerParts& got, const RunnerParts& want, const std::string& what) {
  SCOPED_TRACE(what);
  EXPECT_EQ(got.day, want.day);
  EXPECT_EQ(got.time, want.time);
  EXPECT_EQ(got.course, want.course);
  EXPECT_EQ(got.order, want.order);
  EXPECT_EQ(got.runner, want.runner);
  for (int i = 0; i < kPartCount; ++i)
    EXPECT_TRUE(SameNumber(got.parts[i], want.parts[i]))
        << "part " << i << ": " << got.parts[i] << " for " << want.parts[i];
  EXPECT_TRUE(SameNumber(got.price, want.price)) << "price";
  EXPECT_EQ(got.nonRunner, want.nonRunner);
  EXPECT_EQ(got.late, want.late);
  EXPECT_EQ(got.analysed, want.analysed);
  EXPECT_EQ(got.raceClass, want.raceClass);
  EXPECT_EQ(got.runners, want.runners);
  EXPECT_EQ(got.joined, want.joined);
  EXPECT_EQ(got.result, want.result);
  EXPECT_EQ(got.position, want.position);
  EXPECT_TRUE(SameNumber(got.sp, want.sp)) << "sp";
}

void ExpectSameRows(const std::vector<RunnerParts>& got, const std::vector<RunnerParts>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i)
    ExpectSame(got[i], want[i], "row " + std::to_string(i) + " " + want[i].runner);
}

void WriteRaces(SqliteArchive& store, std::vector<std::vector<RunnerParts>> races) {
  ArchiveWrite w;
  w.races = std::move(races);
  store.Write(w);
}

void WriteJoined(SqliteArchive& store, std::vector<RunnerParts> rows) {
  ArchiveWrite w;
  w.joined = std::move(rows);
  store.Write(w);
}

TEST(RunnerDays, AwkwardValuesReadBackBitForBit) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const double negativeNan = std::bit_cast<double>(uint64_t{0xfff8000000000123});
  struct Case {
    std::string runner;
    PartValues parts;
    std::optional<double> price;  // as analysed
    bool join;
    PickResult result;
    int position;
    std::optional<double> sp;
    std::string raceClass;
  };
  const Case cases[] = {
      {"Plain", {10, -33, 0, 100, -100, 1, 2, 3}, 2.04, true, PickResult::kWon, 1, 3.0, "Class 4"},
      {"Tab\there",
       {-0.0, 0.0, 1e-300, -1e-300, DBL_TRUE_MIN, DBL_MAX, -DBL_MAX, 1e20},
       std::nullopt,
       true,
       PickResult::kPlaced,
       2,
       std::nullopt,
       "Group 1\t(Listed)"},
      {"New\nline\r\n",
       {inf, -inf, nan, negativeNan, 0.1 + 0.2, 1.0 / 3, 2.9999999999999996, 33.333333333333336},
       1.005,
       true,
       PickResult::kVoid,
       0,
       std::nullopt,
       ""},
      {"Ünïcødé Flyer 🐎",
       {9007199254740992.0, 9007199254740994.0, -9007199254740993.0, 4611686018427387904.0, 0.07,
        -0.05, 123.45, 1e-5},
       1000.01,
       true,
       PickResult::kUnplaced,
       7,
       9.5,
       "Клас 2"},
      {std::string("nul\0inside", 10),
       {1, 2, 3, 4, 5, 6, 7, 8},
       nan,
       true,
       PickResult::kUnsettled,
       0,
       -0.0,
       "Class 6"},
      {"", {0, 0, 0, 0, 0, 0, 0, 0}, 1.01, false, PickResult::kUnsettled, 0, std::nullopt, ""},
  };
  TempFolder folder;
  SqliteArchive store(folder.path() / kArchiveFileName);
  // Two races on Tuesday and one on Monday, written in one go.
  std::vector<RunnerParts> want, joined;
  std::vector<std::vector<RunnerParts>> races(3);
  int k = 0;
  for (const Case& c : cases) {
    const int race = k % 3;
    RunnerParts r = Runner(race == 2 ? kMonday : kTuesday, race == 0 ? "14:05" : "13:40",
                           race == 1 ? "Dundalk ⛅" : "Ascot", k, c.runner);
    r.parts = c.parts;
    r.price = c.price;
    r.nonRunner = k % 2 == 1;
    r.late = race == 1;
    // What the card says as analysed is not kept: the join brings it.
    r.raceClass = "ignored";
    r.runners = 5;
    races[race].push_back(r);
    r.raceClass.clear();
    r.runners = 0;
    if (c.join) {
      r.joined = true;
      r.raceClass = c.raceClass;
      r.runners = 9 - k;
      r.result = c.result;
      r.position = c.position;
      r.sp = c.sp;
      joined.push_back(r);
    }
    want.push_back(r);
    ++k;
  }
  WriteRaces(store, races);
  WriteJoined(store, joined);
  std::sort(want.begin(), want.end(), [](const RunnerParts& a, const RunnerParts& b) {
    return std::tie(a.day, a.time, a.course, a.order) < std::tie(b.day, b.time, b.course, b.order);
  });
  ExpectSameRows(store.AllRunnerParts(), want);
  EXPECT_EQ(store.PartsDays(), (std::vector<Date>{kMonday, kTuesday}));
  SQLite::Database db(store.file().string());
  EXPECT_EQ(db.execAndGet("SELECT count(*) FROM runner_parts").getInt(), 2) << "a row a day";
}

TEST(RunnerDays, ARaceAnalysedBeforeItsOffIsKeptFromALaterLook) {
  struct Case {
    const char* what;
    std::optional<bool> storedLate;  // none: nothing stored yet
    bool late;
    bool replaced;
  };
  const Case cases[] = {
      {"first look, after the off", std::nullopt, true, true},
      {"before, then after the off", false, true, false},
      {"after, then before the off", true, false, true},
      {"before, then before again", false, false, true},
      {"after, then after again", true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    SqliteArchive store(folder.path() / kArchiveFileName);
    const RunnerParts neighbour = Runner(kTuesday, "14:05", "Bath", 0, "Next Door");
    std::vector<RunnerParts> expected{neighbour};
    if (c.storedLate) {
      std::vector<RunnerParts> race{Runner(kTuesday, "14:05", "Ascot", 0, "Old One"),
                                    Runner(kTuesday, "14:05", "Ascot", 1, "Old Two"),
                                    Runner(kTuesday, "14:05", "Ascot", 2, "Old Three")};
      for (RunnerParts& r : race) r.late = *c.storedLate;
      WriteRaces(store, {race, {neighbour}});
      // A joined row goes back to its look's values when the race is replaced.
      RunnerParts settled = race[1];
      settled.result = PickResult::kWon;
      settled.joined = true;
      WriteJoined(store, {settled});
      race[1] = settled;
      if (!c.replaced) expected.insert(expected.begin(), race.begin(), race.end());
    } else {
      WriteRaces(store, {{neighbour}});
    }
    // Fewer runners this look: none of the earlier ones stay.
    std::vector<RunnerParts> look{Runner(kTuesday, "14:05", "Ascot", 0, "New One"),
                                  Runner(kTuesday, "14:05", "Ascot", 1, "New Two")};
    for (RunnerParts& r : look) {
      r.late = c.late;
      r.analysed = "2026-12-08T14:30:00.000Z";
    }
    WriteRaces(store, {look});
    if (c.replaced) expected.insert(expected.begin(), look.begin(), look.end());
    ExpectSameRows(store.AllRunnerParts(), expected);
  }
}

TEST(RunnerDays, JoinsOfSeveralDaysInOneWriteTouchOnlyTheirRunners) {
  TempFolder folder;
  SqliteArchive store(folder.path() / kArchiveFileName);
  std::vector<RunnerParts> monday{Runner(kMonday, "12:00", "Ayr", 0, "A"),
                                  Runner(kMonday, "12:00", "Ayr", 1, "B")};
  std::vector<RunnerParts> tuesday{Runner(kTuesday, "12:00", "Ayr", 0, "C"),
                                   Runner(kTuesday, "12:30", "Ayr", 0, "D")};
  WriteRaces(store, {monday, tuesday});
  std::vector<RunnerParts> joins{monday[1], tuesday[0], tuesday[1],
                                 Runner(kTuesday, "12:30", "Ayr", 5, "Not stored"),
                                 Runner(kMonday, "19:00", "Ayr", 0, "No such race")};
  for (RunnerParts& r : joins) {
    r.joined = true;
    r.raceClass = "Class 3";
    r.runners = 8;
    r.result = PickResult::kPlaced;
    r.position = 3;
    r.sp = 4.5;
  }
  // The rows as the join knows them may have moved on since: only the card and results are taken.
  joins[0].parts[0] = 999;
  WriteJoined(store, joins);
  std::vector<RunnerParts> want{monday[0], monday[1], tuesday[0], tuesday[1]};
  for (RunnerParts* r : {&want[1], &want[2], &want[3]}) {
    r->joined = true;
    r->raceClass = "Class 3";
    r->runners = 8;
    r->result = PickResult::kPlaced;
    r->position = 3;
    r->sp = 4.5;
  }
  ExpectSameRows(store.AllRunnerParts(), want);
}

// The runners table as the versions before kept them, a row a runner; the archive's latest
// entry packs them.
constexpr int kLastVersionOfRows = SqliteArchive::kSchemaVersion - 1;
constexpr const char* kRowTable = R"sql(
DROP TABLE runner_parts;
CREATE TABLE runner_parts (
  day TEXT NOT NULL, time TEXT NOT NULL, course TEXT NOT NULL, card_order INTEGER NOT NULL,
  runner TEXT NOT NULL,
  rank REAL NOT NULL, bf REAL NOT NULL, scalp REAL NOT NULL, rpr REAL NOT NULL,
  indicator REAL NOT NULL, tips REAL NOT NULL, fr REAL NOT NULL, zorvat REAL NOT NULL,
  price REAL, non_runner INTEGER NOT NULL, late INTEGER NOT NULL, analysed TEXT NOT NULL,
  class TEXT NOT NULL DEFAULT '', runners INTEGER NOT NULL DEFAULT 0,
  joined INTEGER NOT NULL DEFAULT 0, result TEXT, position INTEGER, sp REAL,
  PRIMARY KEY (day, time, course, card_order)) WITHOUT ROWID;
)sql";

TEST(RunnerDays, AnOlderArchivesRowsMoveInAndReadEqual) {
  TempFolder folder;
  const auto file = folder.path() / kArchiveFileName;
  { SqliteArchive made(file); }
  {
    // Written as that release wrote them: a race's rows, then the joins.
    SQLite::Database db(file.string(), SQLite::OPEN_READWRITE);
    db.exec(kRowTable);
    db.exec("UPDATE schema_version SET version = " + std::to_string(kLastVersionOfRows));
    db.exec(R"sql(
INSERT INTO runner_parts (day, time, course, card_order, runner, rank, bf, scalp, rpr, indicator,
  tips, fr, zorvat, price, non_runner, late, analysed) VALUES
  ('2026-12-08', '14:05', 'Ascot', 0, 'Tab' || char(9) || 'in', -33, 1, 0, -14.5, 0, 0, 20, 0,
   75, 0, 0, '2026-12-08T05:00:00.000Z'),
  ('2026-12-08', '14:05', 'Ascot', 1, 'Ünï' || char(10) || 'line', 1e-300, -0.0, 0.1, 2.04, 100,
   0, 33.333333333333336, 18, NULL, 1, 0, '2026-12-08T05:00:00.000Z'),
  ('2026-12-08', '13:40', 'Bath', 0, 'Early', 1, 2, 3, 4, 5, 6, 7, 8, 2.5, 0, 1,
   '2026-12-08T13:41:00.000Z'),
  ('2026-12-07', '20:00', 'Ayr', 3, 'Monday', 1, 2, 3, 4, 5, 6, 7, 8, 1.01, 0, 0,
   '2026-12-07T05:00:00.000Z');
UPDATE runner_parts SET class = 'Class 4', runners = 7, joined = 1, result = 'won', position = 1,
  sp = 3.25 WHERE runner = 'Tab' || char(9) || 'in';
UPDATE runner_parts SET class = 'Class 4', runners = 7, joined = 1, result = NULL, position = 0,
  sp = NULL WHERE card_order = 1;
UPDATE runner_parts SET class = '', runners = 0, joined = 1, result = 'void', position = 0,
  sp = NULL WHERE runner = 'Monday';
INSERT INTO parts_days (day, how) VALUES ('2026-12-07', 'replay'), ('2026-12-08', 'live');
)sql");
  }
  // As that release read them: an archive of its version opened read-only is read as it is.
  ASSERT_EQ(::chmod(file.c_str(), 0400), 0);
  std::vector<RunnerParts> before;
  {
    SqliteArchive readOnly(file);
    ASSERT_TRUE(readOnly.readOnly());
    before = readOnly.AllRunnerParts();
  }
  ASSERT_EQ(before.size(), 4u);
  EXPECT_EQ(before[0].runner, "Monday");
  EXPECT_EQ(before[0].result, PickResult::kVoid);
  EXPECT_EQ(before[2].runner, "Tab\tin");
  EXPECT_EQ(before[2].sp, 3.25);
  EXPECT_FALSE(before[3].price);
  ASSERT_EQ(::chmod(file.c_str(), 0600), 0);

  SqliteArchive store(file);
  ExpectSameRows(store.AllRunnerParts(), before);
  EXPECT_EQ(store.PartsDays(), (std::vector<Date>{kMonday, kTuesday}));
  SQLite::Database db(file.string());
  EXPECT_EQ(db.execAndGet("SELECT version FROM schema_version").getInt(),
            SqliteArchive::kSchemaVersion);
  EXPECT_EQ(db.execAndGet("SELECT group_concat(day || ':' || count) FROM (SELECT day, count FROM "
                          "runner_parts ORDER BY day)")
                .getString(),
            "2026-12-07:1,2026-12-08:3");
  EXPECT_FALSE(db.tableExists("runner_parts_by_runner"));
}

TEST(RunnerDays, DamagedRowsAreNeverReadNorCostACommandItsWrite) {
  std::vector<RunnerParts> rows{Runner(kTuesday, "14:05", "Ascot", 0, "One"),
                                Runner(kTuesday, "14:05", "Ascot", 1, "Two")};
  rows[1].price.reset();
  rows[1].parts[3] = 1.0 / 3;
  rows[1].sp = 2.75;
  const std::string bytes = EncodeRunnerRows(rows);
  ASSERT_TRUE(DecodeRunnerRows(bytes, kTuesday));
  // Every shorter row, and the row with a byte more, is damaged.
  for (std::size_t n = 0; n < bytes.size(); ++n)
    EXPECT_FALSE(DecodeRunnerRows(bytes.substr(0, n), kTuesday)) << n << " bytes";
  EXPECT_FALSE(DecodeRunnerRows(bytes + '\0', kTuesday));

  TempFolder folder;
  SqliteArchive store(folder.path() / kArchiveFileName);
  WriteRaces(store, {rows});
  {
    SQLite::Database db(store.file().string(), SQLite::OPEN_READWRITE);
    db.exec("UPDATE runner_parts SET rows = substr(rows, 1, length(rows) - 2)");
  }
  EXPECT_THROW(store.AllRunnerParts(), ArchiveError);
  EXPECT_THROW(store.AllRunnerParts(), ArchiveError) << "read again, still refused";
  // A race stored on that day takes it as empty: the command keeps its write, and the day reads
  // again with what it now holds.
  std::vector<RunnerParts> later{Runner(kTuesday, "16:00", "Bath", 0, "Later")};
  ArchiveWrite w;
  w.races = {later};
  Pick pick;
  pick.day = kTuesday;
  pick.time = "16:00";
  pick.course = "Bath";
  pick.runner = "Later";
  pick.system = "Best Rank";
  pick.odds = "3,5";
  w.picks.push_back({PickChange::kAdd, pick, "2026-12-08T15:00:00.000Z"});
  store.Write(w);
  EXPECT_EQ(store.Picks().size(), 1u);
  ExpectSameRows(store.AllRunnerParts(), later);
}

}  // namespace
}  // namespace trotix
