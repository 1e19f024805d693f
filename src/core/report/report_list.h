#pragma once
// The report list REP on the "Report" tab: runners picked by hand from TAB, deleted one at a
// time through the context menu, or cleared.
#include <string>

#include "model/workspace.h"

namespace trotix {

inline constexpr const char* kAddedToReport = "Add to Report";
inline constexpr const char* kSelectHorse = "Select Please Horse";
inline constexpr const char* kManualSystem = "MySystem";

// Appends TAB row `row` to REP with the race's time and course from the labels and "Kf" as
// "Odds". Returns the message to show. Throws std::out_of_range for a row TAB does not have.
std::string AddToReport(Workspace& ws, int row);

// Remembers the clicked REP row for "Удалить". Throws std::out_of_range for a row REP does not
// have.
void SelectReportRow(Workspace& ws, int row);

// "Удалить": deletes the remembered row and forgets it. Returns "Select Please Horse" when no
// row is remembered (nothing is deleted), empty otherwise.
std::string DeleteReportRow(Workspace& ws);

// "Clear": empties REP and forgets the remembered row.
void ClearReport(Workspace& ws);

}  // namespace trotix
