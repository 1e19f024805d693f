#pragma once
// The system's working data: every grid, label and run-wide list. Parts hand their results to
// each other through these, and the front ends show them under these names (they are also the
// keys of trotix-cli's JSON).
//
// Grids (columns named in model/columns.h, schemas in model/schemas.cpp):
//   RT    "Today": the day's races            MM    "ALL TABLE": the day's races
//   NX    "Zorvat": the day's races           TAB   the runners of the race analysed (its card)
//   LG    "Scalp Odds": market moves          R     each runner's component scores and Summa
//   TIPS  "Tips": tipsters' selections        RR    "Recoming": the strongest runners
//   REZ   "Result": results of a date         REP   "Report": the picks
//   T1    the exchange's races of the day     T2    the exchange runners of one race
//   RF    the four Zorvat race numbers        H     Zorvat's runners, statuses and scores
// Labels:
//   u1-u7      the header of the race in TAB: time, course, prize, name, count, distance, type
//   u8         the money matched on the race's exchange market
//   bfnumber   the race's win market on the exchange, empty without one (never shown)
//   ind1, ind2 the market-strength indicators of T2
//   spSkinLabel3, spSkinLabel4   time and course of the race in T2
//   e1-e3      the Zorvat race's name, time and course
//   glavcount  the number of the day's races
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "table/table.h"

namespace trotix {

inline constexpr const char* kExchangeTotalCaption = "Summ Betfair:";
// The runner number of a runner that does not run.
inline constexpr const char* kNonRunner = "NR";

// What a front end shows: the grids and labels.
struct WorkspaceView {
  WorkspaceView();

  Table RT, LG, T1, T2, NX, RF, H, TIPS, REZ, REP, MM, TAB, R, RR;

  std::string glavcount = "Count: 0";
  std::string u1 = "00:00", u2 = "Course:", u3 = "Prize: $", u4 = "Name:", u5 = "Count:",
              u6 = "Distance:", u7 = "Type:", u8 = kExchangeTotalCaption;
  std::string bfnumber;
  std::string ind1 = "0", ind2 = "0";
  std::string spSkinLabel3, spSkinLabel4;
  std::string e1, e2, e3;

  // The REP row remembered for "Удалить"; -1 for none.
  int ReportRow = -1;

  // Name and table of every grid, for front ends that show or print them all.
  std::vector<std::pair<std::string, const Table*>> Tables() const;
  std::vector<std::pair<std::string, Table*>> Tables();
  // Name and caption of every label.
  std::vector<std::pair<std::string, std::string>> Labels() const;
};

// DayData as FillRaceLists read it, so that a race's card is found without reading the day again:
// the joined text, where the body of each closed race lies in it, and the first race of each
// course and time.
struct DayIndex {
  struct Span {
    std::size_t offset = 0, size = 0;
  };
  std::size_t lines = 0;  // DayData's size when indexed
  std::string text;
  std::vector<Span> races;
  std::map<std::pair<std::string, std::string>, std::size_t> byCourseAndTime;
};

// A reference table's lines, never null: one parse of a file serves every Workspace that loads
// the same file (the days a back-test replays).
using SharedLines = std::shared_ptr<const std::vector<std::string>>;
inline SharedLines NoLines() {
  return std::make_shared<const std::vector<std::string>>();
}

// The view plus the run-wide lists: the day's text and the reference tables, large and never
// shown, so a window's snapshot copies only the view.
struct Workspace : WorkspaceView {
  std::vector<std::string> DayData;        // the sign-in answer, line by line
  DayIndex DayRaces;                       // DayData's races, kept by FillRaceLists
  std::vector<std::string> CourseTable;    // course and country of every course
  std::vector<std::string> IndicatorList;  // the exchange's runners of the day
  SharedLines ProcessBase = NoLines(), ScoreBase = NoLines();  // Zorvat reference tables

  WorkspaceView& view() { return *this; }
  const WorkspaceView& view() const { return *this; }
};

}  // namespace trotix
