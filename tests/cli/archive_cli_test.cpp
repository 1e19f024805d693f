// `trotix-cli archive …` run as a program: the release's archive migrated with its replay,
// back-test and Proof figures unchanged, backups taken while another trotix-cli records, and a
// day exported and imported into an empty archive that replays it the same.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <SQLiteCpp/SQLiteCpp.h>
#include <array>
#include <atomic>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "archive/sqlite_archive.h"
#include "support/release_archive.h"
#include "support/shell_run.h"
#include "support/temp_folder.h"

namespace trotix {
namespace {

using testing::TempFolder;
using testing::UnpackReleaseArchive;

using Outcome = trotix::testing::ShellRun;

// trotix-cli with `args` on the demo archive of `dir`; stderr away unless `errors` says.
Outcome Cli(const std::filesystem::path& dir, const std::string& args,
            const char* errors = "2>/dev/null") {
  const std::string command =
      std::string(TROTIX_CLI) + " --demo --dir '" + dir.string() + "' " + args + " " + errors;
  return trotix::testing::RunShell(command);
}

nlohmann::json Info(const std::filesystem::path& dir) {
  const Outcome run = Cli(dir, "--json archive info");
  EXPECT_EQ(run.status, 0);
  return nlohmann::json::parse(run.out);
}

// What a replay of the stored day shows, its back-test and the Proof page of both.
std::vector<std::string> Figures(const std::filesystem::path& dir) {
  std::vector<std::string> out;
  for (const char* args :
       {"--archive-day 08.12.2026 --json all 3 today 7", "--json backtest 08.12.2026 08.12.2026",
        "--json proof", "--json --source backtest proof", "--json --by course proof"}) {
    const Outcome run = Cli(dir, args);
    EXPECT_EQ(run.status, 0) << args;
    // The back-test's run number and time are the run's own.
    nlohmann::json j = nlohmann::json::parse(run.out);
    j.erase("runId");
    out.push_back(j.dump());
  }
  return out;
}

TEST(ArchiveCli, ReleaseArchiveMigratesAndFiguresStayTheSame) {
  TempFolder before, after;
  for (const auto* dir : {&before, &after})
    ASSERT_TRUE(UnpackReleaseArchive(dir->path() / kDemoArchiveFileName));
  const nlohmann::json old = Info(after.path());
  EXPECT_GT(old["bodiesToPack"].get<long long>(), 500);
  EXPECT_EQ(old["answersToPack"], old["answers"]);

  const Outcome migrate = Cli(after.path(), "archive migrate", "2>&1");
  ASSERT_EQ(migrate.status, 0) << migrate.out;
  EXPECT_NE(migrate.out.find("every body and answer packed and checked"), std::string::npos)
      << migrate.out;
  EXPECT_FALSE(std::filesystem::exists(after.path() / "trotix-demo.db.old"));
  const nlohmann::json packed = Info(after.path());
  EXPECT_EQ(packed["bodiesToPack"], 0);
  EXPECT_EQ(packed["answersToPack"], 0);
  EXPECT_LT(packed["bytes"].get<long long>() * 2, old["bytes"].get<long long>());
  for (const char* key : {"days", "answers", "picks", "events"}) EXPECT_EQ(packed[key], old[key]);

  const auto figures = Figures(before.path());
  EXPECT_EQ(Figures(after.path()), figures);
  // The figures are of real picks.
  EXPECT_NE(figures[2].find("\"bets\":35"), std::string::npos) << figures[2];
}

TEST(ArchiveCli, BackupWhileAnotherProgramRecordsHoldsEveryCommittedDay) {
  TempFolder folder;
  const auto dir = folder.path(), copy = folder.path() / "backup.db";
  const auto file = dir / kDemoArchiveFileName;
  ASSERT_EQ(Cli(dir, "--today 01.11.2026").status, 0);
  std::atomic<bool> recording{true};
  std::thread recorder([&] {
    for (int day = 2; day <= 9; ++day)
      Cli(dir, "--today 0" + std::to_string(day) + ".11.2026 real-odds on best-rank");
    recording = false;
  });
  int backups = 0;
  std::size_t most = 0;
  while (recording || backups == 0) {
    std::vector<Date> committed;
    {
      SQLite::Database db(file, SQLite::OPEN_READONLY, 5000);
      SQLite::Statement s(db, "SELECT day FROM days ORDER BY day");
      while (s.executeStep()) {
        Date d;
        std::sscanf(s.getColumn(0).getString().c_str(), "%d-%d-%d", &d.year, &d.month, &d.day);
        committed.push_back(d);
      }
    }
    const Outcome run = Cli(dir, "archive backup '" + copy.string() + "'", "2>&1");
    ASSERT_EQ(run.status, 0) << run.out;
    ++backups;
    SQLite::Database db(copy, SQLite::OPEN_READONLY);
    EXPECT_EQ(db.execAndGet("PRAGMA integrity_check").getString(), "ok");
    SqliteArchive backup(copy);
    const std::vector<Date> held = backup.Days();
    for (const Date& d : committed)
      EXPECT_TRUE(std::find(held.begin(), held.end(), d) != held.end()) << FormatDate(d);
    most = std::max(most, held.size());
  }
  recorder.join();
  EXPECT_GE(backups, 3);
  EXPECT_GE(most, 2u);
  EXPECT_EQ(Info(dir)["days"], 9);
}

TEST(ArchiveCli, ExportedDayReplaysTheSameInAnEmptyArchive) {
  TempFolder from, to;
  ASSERT_TRUE(UnpackReleaseArchive(from.path() / kDemoArchiveFileName));
  const auto file = from.path() / "day.trotix";
  const Outcome exported = Cli(from.path(), "archive export 08.12.2026 '" + file.string() + "'");
  ASSERT_EQ(exported.status, 0) << exported.out;
  const Outcome imported = Cli(to.path(), "archive import '" + file.string() + "'");
  ASSERT_EQ(imported.status, 0) << imported.out;
  EXPECT_EQ(imported.out, "imported 08.12.2026\n");
  const nlohmann::json info = Info(to.path());
  EXPECT_EQ(info["days"], 1);
  EXPECT_EQ(info["events"], 0);
  EXPECT_EQ(info["picks"], 0);
  for (const char* key : {"days", "answers", "picks", "events", "bytes", "bytesByKind"})
    EXPECT_TRUE(info.contains(key)) << key;
  const char* replay = "--archive-day 08.12.2026 --json all 3 all 12 today 7";
  EXPECT_EQ(Cli(to.path(), replay).out, Cli(from.path(), replay).out);
  // A day not stored, or words that are no command, say so.
  EXPECT_EQ(Cli(from.path(), "archive export 01.01.2026 x.db").status, 4);
  EXPECT_EQ(Cli(from.path(), "archive export x.db").status, 2);
  EXPECT_EQ(Cli(to.path(), "archive import '" + file.string() + "'").out,
            "already stored, left as it is: 08.12.2026\n");
}

}  // namespace
}  // namespace trotix
