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

// Appends one row per race block of DayData to RT, NX and MM.
void FillRaceLists(Workspace& ws);

// Fills TAB with the runners of the race in `row` of `raceList` (column 1 time, column 2
// course), sets u1-u7, the deviations from the race means and "Rank" with the lime leader.
void ParseRaceCard(Workspace& ws, const Table& raceList, int row);

}  // namespace trotix
