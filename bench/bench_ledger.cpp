#include "bench_ledger.h"

#include "archive/sqlite_archive.h"
#include "bench_util.h"

namespace trotix::bench {

LedgerVerifyFigures LedgerVerify(const std::string& cli, const std::filesystem::path& dir,
                                 long long events, int rounds) {
  LedgerVerifyFigures f;
  const auto folder = dir / "ledger";
  std::filesystem::create_directories(folder);
  const double start = WallSeconds();
  {
    SqliteArchive store(folder / kArchiveFileName);
    // A day of 40 races a write, as a day's best-of runs and its settle would add them.
    const long long picks = events / 2;
    for (long long first = 0; first < picks; first += 400) {
      ArchiveWrite write;
      for (long long i = first; i < std::min(first + 400, picks); ++i) {
        Pick p;
        p.day = AddDays({2026, 1, 1}, static_cast<int>(i / 400));
        p.time = std::to_string(11 + (i / 10) % 10 * 1) + ":" + std::to_string(10 + i % 10 * 4);
        p.course = "Course " + std::to_string(i % 7);
        p.runner = "Runner " + std::to_string(i);
        p.system = i % 2 ? "Best Rank" : "Best Recoming";
        p.odds = "4,5";
        p.price = 4.5;
        write.picks.push_back({PickChange::kAdd, p, "2026-01-01T08:00:00.000Z"});
        p.result = i % 5 == 0 ? PickResult::kWon : PickResult::kUnplaced;
        p.position = i % 5 == 0 ? 1 : 0;
        p.sp = 4.0;
        write.picks.push_back({PickChange::kSettle, p, "2026-01-01T20:00:00.000Z"});
      }
      store.Write(write);
    }
    f.events = static_cast<long long>(store.LedgerEvents().size());
  }
  f.buildSeconds = WallSeconds() - start;
  std::vector<double> times, cpu;
  f.intact = true;
  const auto childCpu = [] {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
  };
  for (int r = 0; r < rounds; ++r) {
    const double t0 = WallSeconds(), c0 = childCpu();
    const ChildRun run = RunChild({cli, "--dir", folder.string(), "ledger", "verify"},
                                  (dir / "ledger-peak").string());
    times.push_back(WallSeconds() - t0);
    cpu.push_back(childCpu() - c0);
    f.intact = f.intact && run.started && run.exitCode == 0;
  }
  f.verifySeconds = Median(times);
  f.cpuSeconds = Median(cpu);
  return f;
}

}  // namespace trotix::bench
