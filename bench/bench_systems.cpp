#include "bench_systems.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "archive/sqlite_archive.h"
#include "systems/evaluate.h"

namespace trotix::bench {
namespace {

constexpr int kDays = 365, kRaces = 40;
constexpr double kTargetMs = 250;

// A year of races of 6 to 16 runners: parts on Summa's scales, prices from the exchange's ladder,
// one winner per race drawn as its price says, a non-runner now and then.
std::vector<std::vector<RunnerParts>> YearOfRaces() {
  const double ladder[] = {1.5, 1.8, 2, 2.5, 3, 3.5, 4, 5, 6, 8, 10, 12, 15, 20, 26, 34, 50, 100};
  std::mt19937_64 random(27);
  std::uniform_int_distribution<int> score(-100, 100), size(6, 16), price(0, std::size(ladder) - 1);
  std::uniform_real_distribution<double> unit(0, 1);
  std::vector<std::vector<RunnerParts>> races;
  Date day{2025, 12, 1};
  for (int d = 0; d < kDays; ++d, day = AddDays(day, 1))
    for (int k = 0; k < kRaces; ++k) {
      auto& race = races.emplace_back();
      const int runners = size(random);
      double total = 0;
      for (int i = 0; i < runners; ++i) {
        RunnerParts r;
        r.day = day;
        char time[8];
        std::snprintf(time, sizeof time, "%02d:%02d", 12 + k / 6, k % 6 * 10);
        r.time = time;
        r.course = "Course " + std::to_string(k % 12);
        r.runner = "Runner " + std::to_string(i);
        r.order = i;
        for (double& p : r.parts) p = score(random);
        r.parts[4] = r.parts[5] = unit(random) < 0.2 ? 100 : 0;
        r.price = ladder[std::min(price(random), price(random))];
        r.nonRunner = unit(random) < 0.03;
        r.raceClass = "Class " + std::to_string(1 + k % 6);
        r.runners = runners;
        r.joined = true;
        r.result = PickResult::kUnplaced;
        total += 1 / *r.price;
        race.push_back(std::move(r));
      }
      // The winner as the prices say, the next two placed.
      double draw = unit(random) * total;
      int winner = 0;
      while (winner + 1 < runners && (draw -= 1 / *race[winner].price) > 0) ++winner;
      race[winner].result = PickResult::kWon;
      race[winner].position = 1;
      race[winner].sp = race[winner].price;
      race[(winner + 1) % runners].result = PickResult::kPlaced;
      race[(winner + 2) % runners].result = PickResult::kPlaced;
    }
  return races;
}

template <typename F>
double MedianMs(int rounds, F&& work) {
  std::vector<double> ms;
  for (int i = 0; i < rounds; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

}  // namespace

bool SystemsScenario(const std::filesystem::path& dir, int rounds) {
  std::printf(
      "\n== A system tested over %d days x %d races of stored runners, every Proof figure\n", kDays,
      kRaces);
  const auto races = YearOfRaces();
  std::vector<RunnerParts> rows;
  for (const auto& race : races) rows.insert(rows.end(), race.begin(), race.end());
  std::printf("  %zu runners\n", rows.size());

  systems::Rule leader;
  auto filtered = *systems::ParseRule(
                       R"({"weights": {"bf": 2, "zorvat": 0.5}, "race": {"runnersMax": 12},
                           "runner": {"priceMin": 2, "priceMax": 20}, "select": {"top": 2}})")
                       .rule;
  const Date split{2026, 6, 1};
  bool met = true;
  struct Case {
    const char* name;
    const systems::Rule* rule;
    bool split;
  };
  for (const Case& c : {Case{"Summa's leader, whole", &leader, false},
                        Case{"Summa's leader, split in two", &leader, true},
                        Case{"weighted, filtered, top 2, whole", &filtered, false}}) {
    int bets = 0;
    const double ms = MedianMs(rounds, [&] {
      if (c.split) {
        const auto s = systems::SplitTest(rows, *c.rule, "Bench", split, 0.05);
        bets = s.inSample.figures.bets + s.outOfSample.figures.bets;
      } else {
        bets = systems::Figures(systems::SelectPicks(rows, *c.rule), "Bench", 0.05).figures.bets;
      }
    });
    const bool ok = ms < kTargetMs;
    met = met && ok;
    std::printf("  %-36s %6d bets %9.1f ms   target < %.0f ms: %s\n", c.name, bets, ms, kTargetMs,
                ok ? "met" : "NOT MET");
  }

  // Read once per session from the archive, then kept.
  {
    SqliteArchive store(dir / "systems-bench.db");
    ArchiveWrite write;
    write.races = races;
    store.Write(write);
    std::size_t read = 0;
    const double ms = MedianMs(1, [&] { read = store.AllRunnerParts().size(); });
    std::printf("  %-36s %6zu rows %9.1f ms   (once per session, not a target)\n",
                "rows read from the archive", read, ms);
  }
  return met;
}

}  // namespace trotix::bench
