// The exchange runners of a 16-runner demo race (32 pages) with the demo server answering each
// page after 40 ms, fetched one at a time and eight at a time.
//   bench_indicator [ROUNDS]     (default 3; the best round of each counts)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "demo_race.h"
#include "exchange/indicator_race.h"
#include "exchange/indicator_races.h"
#include "net/curl_http_client.h"
#include "text/dates.h"
#include "text/strings.h"
#include "vendorsim/vendor_sim.h"

using namespace trotix;

namespace {

constexpr Date kDay{2024, 6, 18};
constexpr int kRaces = 40;
constexpr int kRunners = 16;
constexpr int kLatencyMs = 40;

// Seconds for one fill of the race through a fresh client.
double TimeFill(const Workspace& loaded, int row, const VendorUrls& urls, int connections,
                Table& t2) {
  CurlHttpClient client;
  Workspace ws = loaded;
  const PageFetcher fetch = [&](const std::vector<std::string>& pages) {
    std::vector<std::string> bodies;
    for (const auto& a : client.GetMany(pages, connections, nullptr))
      bodies.push_back(BodyOrEmpty(a));
    return bodies;
  };
  const auto start = std::chrono::steady_clock::now();
  FillIndicatorRace(ws, row, urls, fetch);
  const auto end = std::chrono::steady_clock::now();
  t2 = ws.T2;
  return std::chrono::duration<double>(end - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const bench::DemoRace race = bench::FindDemoRace(kDay, kRaces, kRunners);
  if (race.seed == 0) {
    std::fprintf(stderr, "no demo race with %d exchange runners\n", kRunners);
    return 1;
  }

  vendorsim::SimOptions o;
  o.seed = race.seed;
  o.date = kDay;
  o.races = kRaces;
  o.latencyMinMs = o.latencyMaxMs = kLatencyMs;
  vendorsim::VendorSim sim(o);
  sim.Start();
  const VendorUrls urls(sim.SimHosts());

  Workspace loaded;
  {
    CurlHttpClient client;
    loaded.CourseTable = SplitLines(BodyOrEmpty(client.Get(urls.CourseTable())));
    loaded.IndicatorList =
        SplitLines(BodyOrEmpty(client.Get(urls.IndicatorFile(FormatDate(kDay)))));
  }
  RebuildIndicatorRaces(loaded);
  int row = -1;
  for (int r = 0; r < loaded.T1.RowCount(); ++r)
    if (loaded.T1.Text(r, 1) == race.time && loaded.T1.Text(r, 2) == race.course) row = r;
  if (row < 0) {
    std::fprintf(stderr, "the race %s %s is not in T1\n", race.time.c_str(), race.course.c_str());
    return 1;
  }

  double one = 1e9, eight = 1e9;
  Table t2One, t2Eight;
  for (int i = 0; i < rounds; ++i) {
    one = std::min(one, TimeFill(loaded, row, urls, 1, t2One));
    eight = std::min(eight, TimeFill(loaded, row, urls, 8, t2Eight));
  }
  const double ratio = one / eight;
  std::printf("race %s %s: %d runners, %d pages, %d ms per page\n", race.time.c_str(),
              race.course.c_str(), t2One.RowCount(), 2 * t2One.RowCount(), kLatencyMs);
  std::printf("1 connection:  %.3f s\n", one);
  std::printf("8 connections: %.3f s\n", eight);
  std::printf("ratio:         %.2f (target at least 6: %s)\n", ratio,
              ratio >= 6 ? "met" : "NOT MET");
  std::printf("same T2:       %s\n", t2One == t2Eight ? "yes" : "NO");
  return ratio >= 6 && t2One == t2Eight ? 0 : 1;
}
