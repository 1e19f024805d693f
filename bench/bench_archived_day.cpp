#include "bench_archived_day.h"

#include <cstdio>
#include <string>
#include <system_error>
#include <vector>

#include "archive/sqlite_archive.h"
#include "bench_util.h"
#include "text/dates.h"
#include "vendorsim/vendor_sim.h"

namespace trotix::bench {
namespace {

constexpr Date kRecordedDay{2026, 12, 8};
constexpr long kRecordTargetMiB = 300;
constexpr long kReplayTargetMiB = 60;

int Line(const std::string& what, const ChildRun& run, long targetMiB) {
  const bool met = run.started && run.exitCode == 0 && run.peakKiB < targetMiB * 1024;
  std::printf("  %-46s %8.1f MiB   target < %ld MiB: %s%s\n", what.c_str(), run.peakKiB / 1024.0,
              targetMiB, met ? "met" : "NOT MET", run.exitCode == 0 ? "" : "  (the run failed)");
  return met ? 0 : 1;
}

}  // namespace

int ArchivedDayMemory(const ArchivedDayOptions& o, const std::filesystem::path& dir) {
  std::printf("\n== Peak memory over a %d-race day of %.1f MiB runner pages, archive on ==\n",
              o.races, o.padBytes / 1048576.0);
  if (!std::filesystem::exists(o.cli)) {
    std::printf("  trotix-cli not found at %s\n", o.cli.c_str());
    return 1;
  }
  const auto folder = dir / "archived-day";
  std::filesystem::create_directories(folder);
  vendorsim::SimOptions sim;
  sim.date = kRecordedDay;
  sim.races = o.races;
  sim.padRunnerPages = o.padBytes;
  vendorsim::VendorSim server(sim);
  server.Start();
  // The first race with runner pages: the one replayed.
  int race = 0;
  while (race + 1 < static_cast<int>(server.day().races.size()) &&
         !server.day().races[race].onExchange())
    ++race;
  const std::string url = server.BaseUrl(), today = FormatDate(kRecordedDay);
  const std::string scratch = (folder / "peak").string();

  int missed = 0;
  const ChildRun record =
      RunChild({o.cli, "--data-server", url, "--web-site", url, "--exchange-site", url, "--login",
                "demo", "--password", "demo", "--today", today, "--dir", folder.string(),
                "real-odds", "on", "best-rank"},
               scratch);
  const int pages = server.Requests("/betting/*");
  std::error_code ignored;
  const auto stored = std::filesystem::file_size(folder / kArchiveFileName, ignored);
  missed += Line("trotix-cli best-rank from real odds, recorded", record, kRecordTargetMiB);
  std::printf("  %-46s %8d pages, archive %.0f MiB\n", "  runner pages fetched", pages,
              stored / 1048576.0);
  server.Stop();

  const ChildRun replay = RunChild(
      {o.cli, "--dir", folder.string(), "--archive-day", today, "all", std::to_string(race)},
      scratch);
  missed += Line(
      "trotix-cli replay of race " + std::to_string(race) + " (all " + std::to_string(race) + ")",
      replay, kReplayTargetMiB);
  std::filesystem::remove_all(folder, ignored);
  return missed;
}

}  // namespace trotix::bench
