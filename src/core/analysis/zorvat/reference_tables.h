#pragma once
#include <string_view>

#include "model/workspace.h"
#include "text/dates.h"

namespace trotix {

// Takes the three Zorvat reference files as downloaded (the empty text for a failed download):
// RF gets exactly one row, ProcessBase and ScoreBase are replaced by the lines of their files,
// and "DV" of RF takes today's day value from the day-value file, whose field 1 is "dd.mm".
void LoadZorvatTables(Workspace& ws, std::string_view processText, std::string_view scoreText,
                      std::string_view dayValuesText, const Date& today);

}  // namespace trotix
