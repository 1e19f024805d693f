#pragma once
// What the day's card says of each race beyond its runners' form: its class and its field size,
// for the Proof page's breakdowns.
#include <string>
#include <string_view>
#include <vector>

namespace trotix {

struct RaceFacts {
  std::string course, time, raceClass;
  int runners = 0;  // runner records on the card less those marked "NR"
};

// Every closed race block of a day's text (the sign-in answer), in one pass.
std::vector<RaceFacts> RaceFactsOfDay(std::string_view dayText);

}  // namespace trotix
