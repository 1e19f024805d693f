#include "analysis/zorvat/reference_tables.h"

#include "analysis/zorvat/race_numbers.h"
#include "model/columns.h"
#include "text/fields.h"
#include "text/strings.h"

namespace trotix {

SharedLines ParsedLines::Of(std::string_view text) {
  if (!lines_ || text != text_) {
    lines_ = std::make_shared<const std::vector<std::string>>(SplitLines(text));
    text_ = text;
  }
  return lines_;
}

void LoadZorvatTables(Workspace& ws, std::string_view processText, std::string_view scoreText,
                      std::string_view dayValuesText, const Date& today, ZorvatLines* parsed) {
  ws.RF.SetRowCount(1);
  StyleRaceNumbers(ws.RF);
  if (parsed) {
    ws.ProcessBase = parsed->process.Of(processText);
    ws.ScoreBase = parsed->score.Of(scoreText);
  } else {
    ws.ProcessBase = std::make_shared<const std::vector<std::string>>(SplitLines(processText));
    ws.ScoreBase = std::make_shared<const std::vector<std::string>>(SplitLines(scoreText));
  }

  // Every line is read: when a day is listed twice, the later value counts.
  const std::string day = FormatDayMonth(today);
  for (const auto& line : SplitLines(dayValuesText)) {
    if (GetField(line, 1) == day) ws.RF.SetText(0, rf::kDV, GetField(line, 2));
  }
}

}  // namespace trotix
