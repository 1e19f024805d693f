#pragma once
// Word lists the generator builds names from.
#include <string>
#include <vector>

#include "vendorsim/sim_day.h"

namespace trotix::vendorsim {

// Every course the demo knows, courses of each listed country and a few of other countries.
const std::vector<Course>& Courses();

struct WordLists {
  std::vector<std::string> horseFirst, horseSecond, horseSingle;
  std::vector<std::string> initials, surnames;
  std::vector<std::string> sponsors;
  std::vector<std::string> goings, goingsAllWeather, distances;
};
const WordLists& Words();

}  // namespace trotix::vendorsim
