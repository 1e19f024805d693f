#pragma once
// One race's field as the generator draws it: the declared runners with their hidden abilities
// and what the race card shows of them, the market on the runners that run, and the result.
#include <set>
#include <string>

#include "vendorsim/race_shapes.h"
#include "vendorsim/rng.h"
#include "vendorsim/sim_day.h"

namespace trotix::vendorsim {

// The declared runners: names, people, ratings and form that reflect ability with noise, and a
// few non-runners ("NR"), some of them withdrawn after the tips were made.
void DrawField(Rng& rng, Race& race, const RaceShape& shape, std::set<std::string>& usedNames);

// Chances, exchange and starting prices, money matched and the morning's prices of the runners
// that run.
void PriceRace(Rng& rng, Race& race);

// The first four past the post, drawn place by place from the chances of those left; an
// abandoned race has none.
void RunRace(Rng& rng, Race& race);

}  // namespace trotix::vendorsim
