#include "analysis/zorvat/reference_tables.h"

#include "analysis/zorvat/race_numbers.h"
#include "model/columns.h"
#include "text/fields.h"
#include "text/strings.h"

namespace trotix {

void LoadZorvatTables(Workspace& ws, std::string_view processText, std::string_view scoreText,
                      std::string_view dayValuesText, const Date& today) {
  ws.RF.SetRowCount(1);
  StyleRaceNumbers(ws.RF);
  ws.ProcessBase = SplitLines(processText);
  ws.ScoreBase = SplitLines(scoreText);

  // Every line is read: when a day is listed twice, the later value counts.
  const std::string day = FormatDayMonth(today);
  for (const auto& line : SplitLines(dayValuesText)) {
    if (GetField(line, 1) == day) ws.RF.SetText(0, rf::kDV, GetField(line, 2));
  }
}

}  // namespace trotix
