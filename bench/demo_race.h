#pragma once
// Finding a demo day that holds a race of a wanted size on the exchange, for benchmarks that
// want a known number of runner pages.
#include <cstdint>
#include <string>

#include "text/dates.h"
#include "vendorsim/generator.h"

namespace trotix::bench {

struct DemoRace {
  uint64_t seed = 0;  // 0: none found
  int index = -1;     // in the generated day, which is MM's order
  std::string time, course;
};

// The first seed whose day of `races` races on `day` has a race with exactly `runners` runners
// listed on the exchange.
inline DemoRace FindDemoRace(const Date& day, int races, int runners) {
  for (uint64_t seed = 1; seed < 1000; ++seed) {
    const auto generated = vendorsim::GenerateDay(seed, day, races);
    for (std::size_t i = 0; i < generated.races.size(); ++i) {
      const auto& race = generated.races[i];
      int listed = 0;
      for (const auto& r : race.runners) listed += r.onExchange();
      if (race.onExchange() && listed == runners)
        return {seed, static_cast<int>(i), race.time, race.course};
    }
  }
  return {};
}

}  // namespace trotix::bench
