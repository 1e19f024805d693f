#include "exchange/indicator_races.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trotix {
namespace {

struct RaceRow {
  std::string time, course, country;
  int flag;
  bool operator==(const RaceRow&) const = default;
};

std::vector<RaceRow> Races(const Workspace& ws) {
  std::vector<RaceRow> out;
  for (int r = 0; r < ws.T1.RowCount(); ++r)
    out.push_back({ws.T1.Text(r, 1), ws.T1.Text(r, 2), ws.T1.At(r, 0).hint, ws.T1.Image(r, 0)});
  return out;
}

Workspace WithCourses() {
  Workspace ws;
  ws.CourseTable = {"1>>Ascot>>England>>", "2>>LEOPARDSTOWN>>Ireland>>", "3>>Sha Tin>>Hong Kong>>",
                    "4>>Belmont>>USA>>"};
  return ws;
}

TEST(RebuildIndicatorRaces, OneRowPerRaceInOrderOfFirstLine) {
  Workspace ws = WithCourses();
  ws.IndicatorList = {
      "14:30>>Ascot>>A>>1>>11>>2>>",          "13:00>>Leopardstown>>B>>3>>12>>4>>",
      "14:30>>Ascot>>C>>1>>13>>2>>",          "13:00>>Leopardstown>>D>>3>>14>>4>>",
      "09:15>>Sha Tin>>E>>5>>15>>6>>",        "14:30>>Ascot>>F>>1>>16>>2>>",
      "23:40>>Belmont>>G>>7>>17>>8>>",        "18:00>>Wolverhampton>>H>>9>>18>>10>>",
      "14:30>>Leopardstown>>I>>11>>19>>12>>",
  };
  RebuildIndicatorRaces(ws);
  EXPECT_EQ(Races(ws), (std::vector<RaceRow>{{"14:30", "Ascot", "England", 1},
                                             {"13:00", "Leopardstown", "Ireland", 2},
                                             {"09:15", "Sha Tin", "Hong Kong", 8},
                                             {"23:40", "Belmont", "USA", 0},
                                             {"18:00", "Wolverhampton", "", 0},
                                             {"14:30", "Leopardstown", "Ireland", 2}}));
}

TEST(RebuildIndicatorRaces, DuplicateLinesGiveOneRow) {
  Workspace ws = WithCourses();
  ws.IndicatorList = {"14:30>>Ascot>>A>>1>>11>>2>>", "14:30>>Ascot>>A>>1>>11>>2>>"};
  RebuildIndicatorRaces(ws);
  EXPECT_EQ(Races(ws), (std::vector<RaceRow>{{"14:30", "Ascot", "England", 1}}));
}

TEST(RebuildIndicatorRaces, ReplacesTheOldRows) {
  Workspace ws = WithCourses();
  ws.IndicatorList = {"14:30>>Ascot>>A>>1>>11>>2>>"};
  RebuildIndicatorRaces(ws);
  ws.IndicatorList = {"15:00>>Belmont>>A>>1>>11>>2>>"};
  RebuildIndicatorRaces(ws);
  EXPECT_EQ(Races(ws), (std::vector<RaceRow>{{"15:00", "Belmont", "USA", 0}}));

  ws.IndicatorList.clear();
  RebuildIndicatorRaces(ws);
  EXPECT_EQ(ws.T1.RowCount(), 0);
}

TEST(RebuildIndicatorRaces, TimeAndCourseAreComparedVerbatim) {
  Workspace ws = WithCourses();
  ws.IndicatorList = {"14:30>>Ascot>>A>>", "14:30>>ASCOT>>B>>", "14:30 >>Ascot>>C>>", "short line"};
  RebuildIndicatorRaces(ws);
  EXPECT_EQ(Races(ws), (std::vector<RaceRow>{{"14:30", "Ascot", "England", 1},
                                             {"14:30", "ASCOT", "England", 1},
                                             {"14:30 ", "Ascot", "England", 1},
                                             {"", "", "", 0}}));
}

}  // namespace
}  // namespace trotix
