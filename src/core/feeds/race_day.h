#pragma once
// The race day (the sign-in answer), the course table and the race card of one race.
#include <string>
#include <string_view>
#include <vector>

#include "model/workspace.h"

namespace trotix {

// Country of a course from the course table: field 2 compared upper-cased, field 3 answered;
// empty when no line matches.
std::string CourseCountryOf(const std::vector<std::string>& courseTable, std::string_view course);

// Column 0 of a race or runner list: the country's flag, the country as the cell's hint.
void SetFlagCell(Table& table, int row, const std::vector<std::string>& courseTable,
                 std::string_view course);

// Reads DayData once into DayRaces and appends one row per closed race block to RT, NX and MM.
// Each race's fields are read from its own block only; an unclosed block is no race.
void FillRaceLists(Workspace& ws);

// Fills TAB with the runners of the race in `row` of `raceList` (column 1 time, column 2
// course), sets u1-u7, the deviations from the race means and "Rank" with the lime leader.
// The race is the first block of DayRaces with that course and time, else the day's first race;
// an unclosed runner record is no runner.
void ParseRaceCard(Workspace& ws, const Table& raceList, int row);

}  // namespace trotix
