#include "vendorsim/race_shapes.h"

namespace trotix::vendorsim {

const std::vector<RaceShape>& RaceShapes() {
  static const std::vector<RaceShape> kShapes = {
      {"Handicap", false, 6, 18, 0.75, 0.25, "", 4},
      {"Sprint Handicap", false, 8, 20, 0.7, 0.25, "", 1.5},
      {"Maiden Stakes", false, 5, 16, 1.1, 0.5, "", 2},
      {"Novice Stakes", false, 4, 12, 1.1, 0.5, "", 1.5},
      {"Claiming Stakes", false, 5, 12, 0.9, 0.3, "", 0.5},
      {"Selling Stakes", false, 5, 12, 0.9, 0.3, "", 0.5},
      {"Conditions Stakes", false, 2, 7, 1.0, 0.2, "", 0.8},
      {"Listed Race", false, 5, 12, 0.9, 0.15, "Listed", 0.5},
      {"Cup", false, 5, 14, 0.9, 0.15, "Group", 0.5},
      {"Mile", false, 6, 16, 0.8, 0.15, "", 0.5},
      {"Handicap Hurdle", true, 7, 18, 0.75, 0.25, "", 4},
      {"Handicap Chase", true, 5, 16, 0.8, 0.25, "", 2.5},
      {"Novices' Chase", true, 2, 8, 1.1, 0.2, "", 1.2},
      {"Juvenile Hurdle", true, 5, 12, 1.1, 0.3, "", 1},
      {"Bumper", true, 8, 18, 1.1, 0.5, "", 1},
  };
  return kShapes;
}

}  // namespace trotix::vendorsim
