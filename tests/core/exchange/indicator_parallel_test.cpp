// The runner pages of a race fetched eight at a time must fill T2 exactly as one at a time does.
#include <gtest/gtest.h>

#include <string>

#include "exchange/indicator_race.h"
#include "exchange/indicator_races.h"
#include "net/curl_http_client.h"
#include "runner_pages.h"
#include "text/dates.h"
#include "text/strings.h"
#include "vendorsim/generator.h"
#include "vendorsim/vendor_sim.h"

namespace trotix {
namespace {

constexpr Date kDay{2024, 6, 18};
constexpr int kRaces = 40;

struct DemoRace {
  uint64_t seed = 0;
  std::string time, course, winMarket;
};

// The first seed whose day has a race with exactly `runners` runners on the exchange.
DemoRace FindDemoRace(int runners) {
  for (uint64_t seed = 1; seed < 1000; ++seed) {
    const vendorsim::Day day = vendorsim::GenerateDay(seed, kDay, kRaces);
    for (const auto& race : day.races) {
      if (!race.onExchange()) continue;
      int listed = 0;
      for (const auto& r : race.runners) listed += r.onExchange();
      if (listed == runners) return {seed, race.time, race.course, race.winMarket};
    }
  }
  return {};
}

TEST(IndicatorParallel, EightConnectionsFillTheSameTableAsOne) {
  const DemoRace race = FindDemoRace(16);
  ASSERT_NE(race.seed, 0u);

  vendorsim::SimOptions o;
  o.seed = race.seed;
  o.date = kDay;
  o.races = kRaces;
  o.latencyMinMs = 0;  // uneven answers arrive out of order
  o.latencyMaxMs = 15;
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
  ASSERT_GE(row, 0);

  Workspace one = loaded, eight = loaded;
  testing::BatchFetcher sequential(1), parallel(8);
  FillIndicatorRace(one, row, urls, sequential.Fetcher());
  FillIndicatorRace(eight, row, urls, parallel.Fetcher());

  ASSERT_EQ(one.T2.RowCount(), 16);
  EXPECT_EQ(sim.Requests("/betting/*"), 64);
  int priced = 0;
  for (int r = 0; r < 16; ++r) priced += one.T2.Number(r, t2::kOdd) < 5000;
  EXPECT_GT(priced, 3);

  EXPECT_EQ(eight.T2, one.T2);  // every cell: text, number, colour, bold, hint
  EXPECT_EQ(eight.Labels(), one.Labels());
  EXPECT_EQ(one.bfnumber, race.winMarket);
}

}  // namespace
}  // namespace trotix
