#pragma once
// The generated world the demo server answers from: the course table and one race day.
#include <cstdint>
#include <string>
#include <vector>

#include "text/dates.h"

namespace trotix::vendorsim {

struct Course {
  std::string altName;  // field 1 of the course table, read by nobody
  std::string name;     // as the course table lists it (one is listed in capitals)
  std::string country;
  std::string dayName;  // as the race day and the feeds spell it
};

struct Runner {
  std::string number;  // saddle cloth, "NR" for a non-runner
  std::string name;    // as the race day spells it (may hold "'")
  std::string trainer, jockey, age, weight, form, days;
  // Rating texts as sent: usually digits, sometimes "-", "" or left out (`*Missing`).
  std::string orText, tsText, rprText;
  bool orMissing = false, tsMissing = false, rprMissing = false;

  // The exchange's side; empty ids for runners it does not list.
  std::string selectionId;
  std::string exchangeName;  // as the indicator file spells it
  double price = 0;          // last matched win price, 0 when nothing matched
  double startPrice = 0;     // the bookmakers' starting price, 0 for a non-runner
  double placePrice = 0;
  long long matched = 0;               // money matched on this runner, win market
  long long placeMatched = 0;          // and place market
  bool thousandWithSeparator = false;  // the page writes the price as "1,000.00"

  int finish = 0;  // finishing position in the results, 0 when unplaced

  // What the vendor never sends: the runner's ability in the race (`onTheDay` of it is its
  // well-being that day, which its record does not show), its chance to win (0 for a
  // non-runner), the exchange price first shown that morning (for the moves feed), whether it
  // was withdrawn after the tips were made, and whether its page shows the starting price.
  double ability = 0, onTheDay = 0, chance = 0, morningPrice = 0;
  bool lateNonRunner = false;
  bool spOnPage = true;
  bool nonRunner() const { return number == "NR"; }
  bool onExchange() const { return !selectionId.empty(); }
};

struct Race {
  int courseIndex = 0;
  std::string course;  // Course::dayName
  std::string country;
  std::string time;  // "HH:MM"
  std::string name, winner, count, distance, going, raceClass;
  std::vector<Runner> runners;
  std::string winMarket, placeMarket;  // empty when the exchange does not list the race
  long long eventMatched = 0, placeEventMatched = 0;
  bool abandoned = false;  // the meeting was called off: the race has no result
  bool onExchange() const { return !winMarket.empty(); }
};

struct Tip {
  std::string course, time, name, place;
};

struct Move {
  std::string course;  // as sent, sometimes with spaces around it
  std::string time, name, kf1, kf2, precent;
};

struct Day {
  Date date;
  std::vector<Race> races;  // in the order of the race day, by time
  std::vector<Tip> tips;
  std::vector<Move> moves;
  // What the feeds deliberately get wrong, in words, for people reading the demo.
  std::vector<std::string> quirks;
};

}  // namespace trotix::vendorsim
