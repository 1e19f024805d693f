#pragma once
// Grids and race-day texts for the Zorvat tests.
#include <string>
#include <utility>
#include <vector>

#include "feeds/race_day.h"
#include "model/columns.h"
#include "model/workspace.h"
#include "text/dates.h"
#include "text/strings.h"

namespace trotix::testing {

// The day the Zorvat examples are scored on, and a processbasa line the examples share.
inline const Date kZorvatDay{2024, 3, 7};
inline const std::string kExampleLine = "47>>3>>5>>6>>8>>2>>9>>4>>1>>1>>1>>1>>1>>1>>5>>";

// RF with its one row of race numbers.
inline Table RaceNumbersGrid(int dv, int fnh, int id, int vp) {
  Table rf = Workspace().RF;
  rf.SetRowCount(1);
  rf.SetNumber(0, rf::kDV, dv);
  rf.SetNumber(0, rf::kFNH, fnh);
  rf.SetNumber(0, rf::kID, id);
  rf.SetNumber(0, rf::kVP, vp);
  return rf;
}

// H with one row per runner, given as "NH" and "VH".
inline Table RunnerGrid(const std::vector<std::pair<int, int>>& runners) {
  Table h = Workspace().H;
  for (const auto& [nh, vh] : runners) {
    const int row = h.AddRow();
    h.SetNumber(row, h::kNH, nh);
    h.SetNumber(row, h::kVH, vh);
  }
  return h;
}

inline std::string RunnerBlock(const std::string& number, const std::string& name) {
  return "<horse><number>" + number + "</number><name_horse>" + name +
         "</name_horse><trainer>T</trainer><jockey>J</jockey><age>4</age><ves>9-0</ves>"
         "<form>1</form><days>7</days><or>80</or><ts>70</ts><rpr>90</rpr></horse>\n";
}

inline std::string RaceBlock(const std::string& course, const std::string& time,
                             const std::string& name, const std::string& runners) {
  return "<zabeg><course>" + course + "</course><time>" + time + "</time><name>" + name +
         "</name><winner>BJ4000</winner><count>0</count><distance>6f</distance>"
         "<going>Good</going><class>Class 4</class>\n" +
         runners + "</zabeg>\n";
}

// A signed-in workspace holding the given race day, with its race lists filled.
inline Workspace DayOf(const std::string& text) {
  Workspace ws;
  ws.DayData = SplitLines(text);
  ws.CourseTable = {"Ascot>>Ascot>>England>>"};
  FillRaceLists(ws);
  return ws;
}

}  // namespace trotix::testing
