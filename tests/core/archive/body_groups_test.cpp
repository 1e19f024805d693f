// Small bodies of a command packed together, on real SQLite files: read back over several
// commands and days, a duplicate found inside a group, a large page left alone, a damaged group,
// only bodies stored alone looked at for orphans, and a grouped day carried to another archive.
#include <gtest/gtest.h>

#include <SQLiteCpp/SQLiteCpp.h>

#include <functional>
#include <random>

#include "archive/archive_care.h"
#include "archive/body_codec.h"
#include "archive/body_groups.h"
#include "archive/sqlite_archive.h"
#include "support/temp_folder.h"

namespace trotix {
namespace {

using testing::TempFolder;

constexpr Date kGroupedDay1{2026, 11, 20}, kGroupedDay2{2026, 11, 21};

std::string GroupedPage(int n, std::size_t rows = 12) {
  std::mt19937 random(n);
  std::string page = "<html><body><h1>Runner " + std::to_string(n) + "</h1><table>";
  for (std::size_t i = 0; i < rows; ++i)
    page += "<tr><td class=\"rpr\">" + std::to_string(random() % 200) +
            "</td><td class=\"course\">Lingfield</td><td class=\"odds\">" +
            std::to_string(random() % 1000) + "</td></tr>\n";
  return page + "</table></body></html>";
}

// A page well past the size that is grouped.
const std::string& LargeGroupedPage() {
  static const std::string page = GroupedPage(9999, 2000);
  return page;
}

// One command: its pages stored as they arrive, then its answers written.
void WriteGroupedCommand(SqliteArchive& store, const Date& day,
                         const std::vector<std::pair<std::string, std::string>>& pages) {
  ArchiveWrite write;
  write.day = day;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    RecordedAnswer a;
    a.key = {pages[i].first, "/runner", "n=" + std::to_string(i)};
    a.answer.status = 200;
    a.answer.failed = false;
    a.arrived = "2026-11-20T10:00:00.000Z";
    a.bodyId = store.StoreBody(pages[i].second);
    write.answers.push_back(a);
  }
  store.Write(write);
}

// Day 1: two commands (web pages, then exchange and web pages with a large one); day 2 fetches
// some of day 1's pages again and new ones.
void WriteGroupedHistory(SqliteArchive& store) {
  std::vector<std::pair<std::string, std::string>> first, second, third;
  for (int i = 0; i < 40; ++i) first.emplace_back("web", GroupedPage(i));
  for (int i = 100; i < 120; ++i) second.emplace_back(i % 2 ? "exchange" : "web", GroupedPage(i));
  second.emplace_back("web", LargeGroupedPage());
  for (int i = 30; i < 50; ++i) third.emplace_back("web", GroupedPage(i));
  WriteGroupedCommand(store, kGroupedDay1, first);
  WriteGroupedCommand(store, kGroupedDay1, second);
  WriteGroupedCommand(store, kGroupedDay2, third);
}

// Every answer of a day with its body.
std::vector<std::pair<std::string, std::string>> GroupedDayRead(SqliteArchive& store,
                                                                const Date& day) {
  std::vector<std::pair<std::string, std::string>> read;
  const auto stored = store.LoadDay(day);
  for (const RecordedAnswer& a : stored->answers)
    read.emplace_back(a.key.query, store.Body(a.bodyId).value_or("(none)"));
  return read;
}

long long GroupedCount(const std::filesystem::path& file, const std::string& sql) {
  SQLite::Database db(file);
  return db.execAndGet(sql).getInt64();
}

TEST(BodyGroups, SmallBodiesOfACommandReadFromTheirGroup) {
  const struct {
    const char* what;
    std::function<void(SqliteArchive&, const std::filesystem::path&)> check;
  } cases[] = {
      {"every page reads back, grouped per command and role, the large one alone",
       [](SqliteArchive& store, const std::filesystem::path& file) {
         const auto day1 = GroupedDayRead(store, kGroupedDay1);
         ASSERT_EQ(day1.size(), 61u);
         EXPECT_EQ(day1[5].second, GroupedPage(5));
         EXPECT_EQ(day1[40 + 3].second, GroupedPage(103));
         EXPECT_EQ(day1[60].second, LargeGroupedPage());
         const auto day2 = GroupedDayRead(store, kGroupedDay2);
         ASSERT_EQ(day2.size(), 20u);
         for (int i = 0; i < 20; ++i) EXPECT_EQ(day2[i].second, GroupedPage(30 + i));
         // 40 web pages; then 10 web and 10 exchange; then day 2's 10 new ones (40 to 49).
         EXPECT_EQ(GroupedCount(file, "SELECT count(*) FROM body_groups"), 4);
         EXPECT_EQ(GroupedCount(file, "SELECT count(*) FROM bodies WHERE codec = 3"), 70);
         EXPECT_EQ(GroupedCount(file, "SELECT count(*) FROM bodies WHERE codec != 3"), 1);
         EXPECT_EQ(GroupedCount(file, "SELECT count(*) FROM bodies WHERE length(body) = 0"), 70);
         // Another connection reads them too.
         SqliteArchive reader(file);
         EXPECT_EQ(GroupedDayRead(reader, kGroupedDay2), day2);
       }},
      {"a page stored again is found inside its group",
       [](SqliteArchive& store, const std::filesystem::path& file) {
         const auto day1 = store.LoadDay(kGroupedDay1)->answers;
         const auto day2 = store.LoadDay(kGroupedDay2)->answers;
         EXPECT_EQ(day2[0].bodyId, day1[30].bodyId);
         EXPECT_EQ(store.StoreBody(GroupedPage(7)), day1[7].bodyId);
         EXPECT_EQ(store.StoreBody(LargeGroupedPage()), day1[60].bodyId);
         EXPECT_EQ(GroupedCount(file, "SELECT count(*) FROM bodies"), 71);
       }},
      {"bytes by kind count each group under its role",
       [](SqliteArchive& store, const std::filesystem::path& file) {
         const ArchiveInfo info = DescribeArchive(store);
         EXPECT_EQ(info.bytesByKind.at("exchange"),
                   GroupedCount(file,
                                "SELECT sum(length(frame)) FROM body_groups WHERE role = "
                                "'exchange'"));
         EXPECT_GT(info.bytesByKind.at("web"),
                   GroupedCount(file, "SELECT length(body) FROM bodies WHERE codec != 3"));
         // Packed together, the small pages take less than a fifth of themselves.
         EXPECT_LT(GroupedCount(file, "SELECT sum(length(frame)) FROM body_groups") * 5,
                   GroupedCount(file, "SELECT sum(size) FROM bodies WHERE codec = 3"));
       }},
      {"a damaged group fails its bodies' reads, and only theirs",
       [](SqliteArchive& store, const std::filesystem::path& file) {
         const auto day1 = store.LoadDay(kGroupedDay1)->answers;
         EXPECT_EQ(store.LastAnswer(kGroupedDay1, day1[25].key), GroupedPage(25));
         {
           SQLite::Database db(file, SQLite::OPEN_READWRITE);
           SQLite::Statement damage(db,
                                    "UPDATE body_groups SET frame = substr(frame, 1, 40) || "
                                    "x'00' || substr(frame, 42) WHERE id = (SELECT group_id "
                                    "FROM bodies WHERE id = ?)");
           damage.bind(1, static_cast<int64_t>(day1[25].bodyId));
           damage.exec();
         }
         SqliteArchive reader(file);
         EXPECT_THROW(reader.Body(day1[25].bodyId), ArchiveError);
         EXPECT_THROW(reader.LastAnswer(kGroupedDay1, day1[25].key), ArchiveError);
         EXPECT_EQ(reader.Body(day1[40].bodyId), GroupedPage(100));
       }},
      {"only a body stored alone is noted as in use and can be an orphan",
       [](SqliteArchive& store, const std::filesystem::path& file) {
         // The large page is the one body stored alone that an answer refers to.
         EXPECT_EQ(GroupedCount(file, "SELECT count(*) FROM body_refs"), 1);
         EXPECT_EQ(GroupedCount(file,
                                "SELECT count(*) FROM bodies WHERE group_id IS NOT NULL AND "
                                "stored IS NOT NULL"),
                   0);
         const long long left = store.StoreBody(GroupedPage(5000));
         EXPECT_EQ(store.RemoveOrphanBodies(std::chrono::seconds(-1)), 1);
         EXPECT_EQ(store.Body(left), std::nullopt);
         EXPECT_EQ(GroupedDayRead(store, kGroupedDay1).back().second, LargeGroupedPage());
         EXPECT_EQ(GroupedDayRead(store, kGroupedDay2)[0].second, GroupedPage(30));
       }},
      {"a grouped day carried to an empty archive reads the same",
       [](SqliteArchive& store, const std::filesystem::path& file) {
         const auto exported = file.parent_path() / "day2.trotix";
         ExportDay(store, kGroupedDay2, exported);
         // The exported file holds the groups its bodies lie in and nothing of day 1's answers.
         EXPECT_EQ(GroupedCount(exported, "SELECT count(*) FROM days"), 1);
         EXPECT_GE(GroupedCount(exported, "SELECT count(*) FROM body_groups"), 1);
         SqliteArchive target(file.parent_path() / "empty.db");
         EXPECT_EQ(ImportDays(target, exported).added, std::vector<Date>{kGroupedDay2});
         EXPECT_EQ(GroupedDayRead(target, kGroupedDay2), GroupedDayRead(store, kGroupedDay2));
         // Imported body by body, its pages form a group of their own there.
         EXPECT_EQ(GroupedCount(file.parent_path() / "empty.db",
                                "SELECT count(*) FROM bodies WHERE codec = 3"),
                   20);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    const auto file = folder.path() / kArchiveFileName;
    SqliteArchive store(file);
    WriteGroupedHistory(store);
    c.check(store, file);
  }
}

}  // namespace
}  // namespace trotix
