#pragma once
// One runner of an analysed race as the archive keeps it for testing systems: the eight parts of
// its Summa, its price when analysed, what the day's card says of the race, and its result once
// judged. Plain data.
#include <array>
#include <optional>
#include <string>

#include "archive/day_archive.h"
#include "text/dates.h"

namespace trotix {

// Rank, BF %, Scalp, RPR, Indicator, Tips1, FR, Zorvat: Summa's order.
inline constexpr int kPartCount = 8;
using PartValues = std::array<double, kPartCount>;

struct RunnerParts {
  Date day;
  std::string time, course, runner;
  int order = 0;  // the runner's row on the card: equal sums are ranked by it, as Summa ranks them
  PartValues parts{};
  std::optional<double> price;  // the win price when analysed, when it was a real price
  bool nonRunner = false;
  bool late = false;     // analysed at or after the off: never in a test
  std::string analysed;  // UTC
  // From the day's card, once joined: the race's class, its runners less non-runners (0 unknown).
  std::string raceClass;
  int runners = 0;
  bool joined = false;  // the card and the results were looked at
  PickResult result = PickResult::kUnsettled;
  int position = 0;
  std::optional<double> sp;
};

// A system as the archive keeps it: each version of a name is a row of its own, so the live
// record of a version always belongs to its rule.
struct StoredSystem {
  std::string name;  // as the user named it, without the version
  int version = 1;
  std::string rule;     // the system's file, JSON
  std::string created;  // UTC
};

// "Fast ground", "Fast ground v2": the name the picks of that version carry.
std::string SystemPickName(const std::string& name, int version);

}  // namespace trotix
