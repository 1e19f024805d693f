// A day's answers packed a command at a time, on real SQLite files: every kind of answer read
// back in its order beside the rows an older release stored, the last good answer to a request,
// damaged packs, and the packing of the older rows a day at a time with a stop half-way.
#include <gtest/gtest.h>

#include <SQLiteCpp/SQLiteCpp.h>

#include <cstdio>

#include "archive/answer_packs.h"
#include "archive/archive_care.h"
#include "archive/sqlite_archive.h"
#include "support/temp_folder.h"

namespace trotix {
namespace {

using testing::TempFolder;

constexpr Date kPackedDay{2026, 12, 8};

RecordedAnswer Get(const std::string& path, const std::string& query, long long body,
                   const std::string& arrived, int status = 200, const std::string& error = "") {
  RecordedAnswer a;
  a.key = {path.starts_with("/betting") ? "exchange" : "data", path, query};
  a.answer.status = status;
  a.answer.failed = !error.empty();
  a.answer.error = error;
  a.bodyId = body;
  a.arrived = arrived;
  return a;
}

RecordedAnswer Probe(const std::string& path, ProbeResult result, const std::string& arrived) {
  RecordedAnswer a;
  a.key = {"data", path, "", true};
  a.probe = result;
  a.arrived = arrived;
  return a;
}

// An answer as text, its body read through the archive: what a replay sees.
std::string Seen(const RecordedAnswer& a, SqliteArchive& store) {
  std::string text = a.key.role + " " + a.key.path + "?" + a.key.query + " @" + a.arrived;
  if (a.key.probe) return text + " probe " + std::to_string(static_cast<int>(a.probe));
  return text + " " + std::to_string(a.answer.status) + (a.answer.failed ? " failed " : " ") +
         a.answer.error + " [" + (a.bodyId ? store.Body(a.bodyId).value_or("?") : "none") + "]";
}

std::vector<std::string> Seen(const std::vector<RecordedAnswer>& answers, SqliteArchive& store) {
  std::vector<std::string> out;
  for (const RecordedAnswer& a : answers) out.push_back(Seen(a, store));
  return out;
}

std::vector<std::string> DaySeen(SqliteArchive& store, const Date& day) {
  const auto stored = store.LoadDay(day);
  return stored ? Seen(stored->answers, store) : std::vector<std::string>{};
}

// Rows as a release before packing stored them, one an answer.
void WriteOlderRows(SqliteArchive& store, const Date& day,
                    const std::vector<RecordedAnswer>& answers) {
  ArchiveWrite registered;
  registered.day = day;
  store.Write(registered);
  SQLite::Statement s(store.database(),
                      "INSERT INTO answers (day, role, path, query, probe, status, failed, error, "
                      "body_id, arrived) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  for (const RecordedAnswer& a : answers) {
    char iso[16];
    std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", day.year, day.month, day.day);
    s.bind(1, iso);
    s.bind(2, a.key.role);
    s.bind(3, a.key.path);
    s.bind(4, a.key.query);
    if (a.key.probe) {
      s.bind(5, a.probe == ProbeResult::Present ? 0 : a.probe == ProbeResult::Absent ? 1 : 2);
      s.bind(6, 0);
      s.bind(7, 0);
      s.bind(8, "");
      s.bind(9);
    } else {
      s.bind(5);
      s.bind(6, a.answer.status);
      s.bind(7, a.answer.failed ? 1 : 0);
      s.bind(8, a.answer.error);
      s.bind(9, static_cast<int64_t>(a.bodyId));
    }
    s.bind(10, a.arrived);
    s.exec();
    s.reset();
  }
}

void WriteCommand(SqliteArchive& store, const Date& day, std::vector<RecordedAnswer> answers) {
  ArchiveWrite write;
  write.day = day;
  write.answers = std::move(answers);
  store.Write(write);
}

TEST(AnswerPacks, EveryAnswerReadsBackInItsOrder) {
  TempFolder folder;
  SqliteArchive store(folder.path() / kArchiveFileName);
  const auto body = [&](const std::string& text) { return store.StoreBody(text); };
  const long long day = body("the day"), empty = body(""), one = body("page one"),
                  two = body("page two"), results1 = body("results at six"),
                  results2 = body("results at nine");
  const std::vector<RecordedAnswer> older = {
      Get("/login/trotix.php", "", day, "2026-12-08T08:00:00.100Z"),
      Probe("/zorvat/score.txt", ProbeResult::Absent, "2026-12-08T08:00:00.200Z"),
      Get("/horse/rez.php", "date=08.12.2026", empty, "2026-12-08T08:00:01.000Z", 500, "HTTP 500"),
  };
  const std::vector<RecordedAnswer> first = {
      Get("/betting/L.do", "marketId=1&selectionId=7", one, "2026-12-08T12:00:00.000Z"),
      Get("/horse/rez.php", "date=08.12.2026", results1, "2026-12-08T12:00:00.010Z"),
      Probe("/zorvat/score.txt", ProbeResult::Present, "2026-12-08T12:00:00.020Z"),
      Get("/betting/L.do", "marketId=1&selectionId=8", two, "2026-12-08T12:00:00.030Z"),
      Get("/betting/L.do", "marketId=1&selectionId=9", 0, "2026-12-08T12:00:00.040Z", 0,
          "timed out"),
      Probe("/zorvat/dvbasa.txt", ProbeResult::Unreachable, "2026-12-08T12:00:00.050Z"),
  };
  const std::vector<RecordedAnswer> second = {
      Get("/horse/rez.php", "date=08.12.2026", results2, "2026-12-08T21:00:00.000Z"),
      Get("/betting/L.do", "marketId=1&selectionId=7", empty, "2026-12-08T21:00:00.500Z", 503,
          "HTTP 503"),
  };
  WriteOlderRows(store, kPackedDay, older);
  WriteCommand(store, kPackedDay, first);
  WriteCommand(store, {2026, 12, 9}, {Get("/login/trotix.php", "", two, "2026-12-09T08:00Z")});
  WriteCommand(store, kPackedDay, second);

  std::vector<RecordedAnswer> all = older;
  all.insert(all.end(), first.begin(), first.end());
  all.insert(all.end(), second.begin(), second.end());
  // A failed answer without a body keeps an empty one, as it always did.
  std::vector<std::string> expected = Seen(all, store);
  expected[7].replace(expected[7].find("[none]"), 6, "[]");
  EXPECT_EQ(DaySeen(store, kPackedDay), expected);
  EXPECT_EQ(DaySeen(store, {2026, 12, 9}).size(), 1u);

  const struct {
    const char* what;
    RequestKey key;
    std::string body;
  } last[] = {
      {"a later command's answer",
       {"data", "/horse/rez.php", "date=08.12.2026"},
       "results at nine"},
      {"a failed later answer is passed over",
       {"exchange", "/betting/L.do", "marketId=1&selectionId=7"},
       "page one"},
      {"an older release's row", {"data", "/login/trotix.php", ""}, "the day"},
      {"only failed", {"exchange", "/betting/L.do", "marketId=1&selectionId=9"}, ""},
      {"a probe has no body", {"data", "/zorvat/score.txt", "", true}, ""},
      {"never asked", {"data", "/horse/rez.php", "date=07.12.2026"}, ""},
  };
  for (const auto& c : last) EXPECT_EQ(store.LastAnswer(kPackedDay, c.key), c.body) << c.what;

  const ArchiveInfo info = DescribeArchive(store);
  EXPECT_EQ(info.answers, 12);
  EXPECT_EQ(info.answersToPack, 3);
  EXPECT_GT(info.bytesByKind.at("exchange"), 0);
  // Only a body no answer refers to goes, whether the answer is packed or an older row.
  store.StoreBody("left by a command that never ended");
  EXPECT_EQ(store.RemoveOrphanBodies(std::chrono::seconds(0)), 1);
  EXPECT_EQ(DaySeen(store, kPackedDay), expected);

  // Carried to another archive, the day reads the same, packed there.
  ExportDay(store, kPackedDay, folder.path() / "day.trotix");
  SqliteArchive other(folder.path() / "other.db");
  ImportDays(other, folder.path() / "day.trotix");
  EXPECT_EQ(DaySeen(other, kPackedDay), expected);
  EXPECT_EQ(DescribeArchive(other).answersToPack, 0);
}

TEST(AnswerPacks, DamagedPacksNeverRead) {
  std::vector<PackedAnswer> pack;
  for (int i = 0; i < 20; ++i)
    pack.push_back({i * 3, Get("/betting/L.do", "marketId=1&selectionId=" + std::to_string(i),
                               100 + i, "2026-12-08T12:00:0" + std::to_string(i % 10) + "Z")});
  RecordedAnswer probe = Probe("/betting/L.do", ProbeResult::Unreachable, "2026-12-08T13:00Z");
  probe.key.role = "exchange";
  pack.push_back({70, probe});
  const std::string bytes = EncodeAnswers(pack);
  const auto back = DecodeAnswers(bytes, "exchange", "/betting/L.do");
  ASSERT_TRUE(back);
  ASSERT_EQ(back->size(), pack.size());
  for (std::size_t i = 0; i < pack.size(); ++i) {
    EXPECT_EQ((*back)[i].order, pack[i].order);
    EXPECT_EQ((*back)[i].answer.key, pack[i].answer.key);
    EXPECT_EQ((*back)[i].answer.bodyId, pack[i].answer.bodyId);
    EXPECT_EQ((*back)[i].answer.arrived, pack[i].answer.arrived);
  }
  for (std::size_t n = 0; n < bytes.size(); ++n)
    EXPECT_EQ(DecodeAnswers(bytes.substr(0, n), "exchange", "/betting/L.do"), std::nullopt) << n;
  EXPECT_EQ(DecodeAnswers(bytes + "x", "exchange", "/betting/L.do"), std::nullopt);
  std::string count = bytes;
  count[1] = '\x7f';  // more answers than the bytes could hold
  EXPECT_EQ(DecodeAnswers(count, "exchange", "/betting/L.do"), std::nullopt);

  // A pack damaged in the file fails the reading of its day, naming it.
  TempFolder folder;
  SqliteArchive store(folder.path() / kArchiveFileName);
  WriteCommand(store, kPackedDay,
               {Get("/login/trotix.php", "", store.StoreBody("the day"), "08:00Z")});
  store.database().exec("UPDATE answer_packs SET rows = substr(rows, 1, length(rows) - 2)");
  try {
    store.LoadDay(kPackedDay);
    FAIL() << "a damaged pack was read";
  } catch (const ArchiveError& e) {
    EXPECT_NE(std::string(e.what()).find("2026-12-08"), std::string::npos) << e.what();
  }
}

// Three days of an older release's rows, the middle one with a command recorded after the
// upgrade: packed a day a transaction, stopped after the first, then resumed.
TEST(ArchiveCare, OlderAnswersArePackedADayAtATimeAndChecked) {
  const Date days[] = {{2026, 12, 6}, {2026, 12, 7}, {2026, 12, 8}};
  const struct {
    const char* what;
    bool copyDiffers;
  } cases[] = {{"resumed", false}, {"the copy differs", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    const auto file = folder.path() / kArchiveFileName;
    std::vector<std::vector<std::string>> before;
    {
      SqliteArchive store(file);
      for (const Date& day : days) {
        std::vector<RecordedAnswer> rows;
        for (int i = 0; i < 40; ++i)
          rows.push_back(Get(
              "/betting/L.do",
              "marketId=" + std::to_string(day.day) + "&selectionId=" + std::to_string(i),
              store.StoreBody("page " + std::to_string(day.day * 100 + i)),
              "2026-12-0" + std::to_string(day.day) + "T12:00:" + std::to_string(10 + i) + "Z"));
        WriteOlderRows(store, day, rows);
      }
      WriteCommand(store, days[1],
                   {Get("/horse/rez.php", "", store.StoreBody("results"), "2026-12-07T22:00Z")});
      for (const Date& day : days) before.push_back(DaySeen(store, day));
      EXPECT_EQ(DescribeArchive(store).answersToPack, 120);

      std::vector<std::pair<long long, long long>> progress;
      EXPECT_EQ(PackStoredBodies(store,
                                 [&](long long done, long long total) {
                                   progress.emplace_back(done, total);
                                   return false;
                                 }),
                PackingEnd::kStopped);
      EXPECT_EQ(progress, (std::vector<std::pair<long long, long long>>{{1, 3}}));
      EXPECT_TRUE(std::filesystem::exists(OldArchiveCopy(file)));
      EXPECT_EQ(DescribeArchive(store).answersToPack, 80);
      EXPECT_TRUE(HasBodiesToPack(store));  // the bodies are packed, answers are left
      // Half-way, every day reads whole and in order.
      for (int d = 0; d < 3; ++d) EXPECT_EQ(DaySeen(store, days[d]), before[d]) << d;
    }
    if (c.copyDiffers) {
      SQLite::Database old(OldArchiveCopy(file), SQLite::OPEN_READWRITE);
      old.exec("UPDATE answers SET status = 299 WHERE day = '2026-12-08' AND query LIKE '%=7'");
    }
    SqliteArchive store(file);  // as after a restart
    std::vector<long long> seen;
    const auto resume = [&] {
      return PackStoredBodies(store, [&](long long done, long long) {
        seen.push_back(done);
        return true;
      });
    };
    if (c.copyDiffers) {
      try {
        resume();
        ADD_FAILURE() << "the check passed";
      } catch (const ArchiveError& e) {
        EXPECT_NE(std::string(e.what()).find("answers of 2026-12-08 differ"), std::string::npos)
            << e.what();
      }
      EXPECT_TRUE(std::filesystem::exists(OldArchiveCopy(file)));
      continue;
    }
    EXPECT_EQ(resume(), PackingEnd::kDone);
    EXPECT_EQ(seen, (std::vector<long long>{2, 3}));
    EXPECT_FALSE(std::filesystem::exists(OldArchiveCopy(file)));
    EXPECT_EQ(DescribeArchive(store).answersToPack, 0);
    EXPECT_FALSE(HasBodiesToPack(store));
    EXPECT_EQ(DescribeArchive(store).answers, 121);
    for (int d = 0; d < 3; ++d) EXPECT_EQ(DaySeen(store, days[d]), before[d]) << d;
    EXPECT_EQ(store.LastAnswer(days[2], {"exchange", "/betting/L.do", "marketId=8&selectionId=7"}),
              "page 807");
    // A command after the packing comes after the day's packed rows.
    WriteCommand(store, days[0],
                 {Get("/horse/rez.php", "", store.StoreBody("late results"), "2026-12-06T23:00Z")});
    const auto after = DaySeen(store, days[0]);
    ASSERT_EQ(after.size(), 41u);
    EXPECT_EQ(std::vector<std::string>(after.begin(), after.end() - 1), before[0]);
  }
}

}  // namespace
}  // namespace trotix
