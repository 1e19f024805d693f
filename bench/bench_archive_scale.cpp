#include "bench_archive_scale.h"

#include <algorithm>
#include <cstdio>
#include <system_error>
#include <vector>

#include "archive/archive_care.h"
#include "archive/sqlite_archive.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include "bench_util.h"
#include "text/dates.h"
#include "vendorsim/demo_history.h"

namespace trotix::bench {
namespace {

constexpr Date kToday{2026, 12, 9};
constexpr double kDayTargetKB = 150;
constexpr double kYearTargetMB = 60;
constexpr double kBacktestTargetSeconds = 5;

const char* Met(bool met) {
  return met ? "met" : "NOT MET";
}

}  // namespace

int ArchiveScale(const ArchiveScaleOptions& o, const std::filesystem::path& dir) {
  std::printf(
      "\n== The archive at scale: a %d-day demo history (40 races a day, every runner "
      "page) ==\n",
      o.days);
  const auto folder = dir / "archive-scale";
  std::filesystem::create_directories(folder);
  const auto file = folder / kDemoArchiveFileName;
  vendorsim::DemoHistoryOptions history;
  history.today = kToday;
  history.days = o.days;
  int failed = 0;
  long long firstDay = 0;
  const double start = WallSeconds();
  {
    SqliteArchive store(file);
    vendorsim::BuildDemoHistory(
        store, history, [&](const vendorsim::DemoHistoryDay& d, int i, int) {
          if (!d.error.empty()) ++failed;
          // The file proper: the -wal file comes and goes with the checkpoints.
          if (i == 1) firstDay = store.database().execAndGet("PRAGMA page_count").getInt64() * 4096;
        });
  }
  const double built = WallSeconds() - start;
  long long bytes = 0, answers = 0;
  {
    SqliteArchive store(file);
    const ArchiveInfo info = DescribeArchive(store);
    bytes = info.bytes;
    answers = info.answers;
  }
  // The first day carries the file's fixed part (schema, dictionary): the days after it are
  // what a day costs.
  const double perDayKB = o.days > 1 ? (bytes - firstDay) / 1000.0 / (o.days - 1) : bytes / 1000.0;
  const double yearMB = (firstDay + perDayKB * 1000.0 * (365 - 1)) / 1e6;
  int missed = 0;
  std::printf("  %-44s %8.1f s%s\n", "history built", built, failed ? "  (days failed)" : "");
  std::printf("  %-44s %8.1f MB  (%lld answers)\n", "archive on disk", bytes / 1e6, answers);
  std::printf("  %-44s %8.1f KB\n", "  the first day, with the file's fixed part", firstDay / 1e3);
  std::printf("  %-44s %8.1f KB   target <= %.0f KB: %s\n", "  each day after it", perDayKB,
              kDayTargetKB, Met(perDayKB <= kDayTargetKB));
  missed += perDayKB <= kDayTargetKB ? 0 : 1;
  std::printf("  %-44s %8.1f MB   target <= %.0f MB: %s%s\n", "365 days", yearMB, kYearTargetMB,
              Met(yearMB <= kYearTargetMB), o.days == 365 ? "" : "  (from the days built)");
  missed += yearMB <= kYearTargetMB ? 0 : 1;

  const std::string from = FormatDate(AddDays(kToday, -o.days)),
                    to = FormatDate(AddDays(kToday, -1));
  // The wall time follows the machine's load; the CPU time beside it is what the run costs.
  std::vector<double> walls, cpus;
  ChildRun backtest;
  bool ran = true;
  for (int round = 0; round < std::max(1, o.rounds); ++round) {
    const double backtestStart = WallSeconds();
    backtest = RunChild({o.cli, "--demo", "--dir", folder.string(), "--today", FormatDate(kToday),
                         "backtest", from, to},
                        (folder / "peak").string());
    walls.push_back(WallSeconds() - backtestStart);
    cpus.push_back(backtest.cpuSeconds);
    ran = ran && backtest.started && backtest.exitCode == 0;
  }
  const double seconds = Median(walls);
  const bool met = ran && seconds <= kBacktestTargetSeconds;
  std::printf("  %-44s %8.2f s   target <= %.0f s: %s%s\n",
              ("trotix-cli backtest of " + std::to_string(o.days) + " days").c_str(), seconds,
              kBacktestTargetSeconds, Met(met), ran ? "" : "  (the run failed)");
  std::printf("  %-44s %8.2f s   (%zu runs, wall %.2f to %.2f s)\n",
              "  its CPU time, user and system", Median(cpus), walls.size(),
              *std::min_element(walls.begin(), walls.end()),
              *std::max_element(walls.begin(), walls.end()));
  std::printf("  %-44s %8.1f MiB\n", "  its peak memory", backtest.peakKiB / 1024.0);
  missed += met ? 0 : 1;
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return missed;
}

}  // namespace trotix::bench
