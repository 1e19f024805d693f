#pragma once
// The kinds of race a day holds: what the race is called, how many runners it draws and how far
// apart they are in ability (a handicap packs its field close; a maiden has a few good ones and
// many that are not).
#include <string>
#include <vector>

namespace trotix::vendorsim {

struct RaceShape {
  std::string kind;  // the end of the race's name: "Handicap Hurdle"
  bool jumps = false;
  int minField = 2, maxField = 20;  // declared runners
  double spread = 1;                // deviation of the runners' abilities
  double outsiders = 0.1;           // share of runners well below the rest, the 100/1 shots
  std::string raceClass;            // "" for a Class 1-6 drawn with the race
  double weight = 1;                // how often the kind is run, against the others of its code
};

// Flat races first, then jump races.
const std::vector<RaceShape>& RaceShapes();

}  // namespace trotix::vendorsim
