#pragma once
#include <string_view>

#include "model/workspace.h"
#include "text/dates.h"

namespace trotix {

// The lines of one reference file as last parsed, shared while the file comes the same.
class ParsedLines {
 public:
  SharedLines Of(std::string_view text);

 private:
  std::string text_;
  SharedLines lines_;
};

struct ZorvatLines {
  ParsedLines process, score;
};

// Takes the three Zorvat reference files as downloaded (the empty text for a failed download):
// RF gets exactly one row, ProcessBase and ScoreBase are replaced by the lines of their files,
// and "DV" of RF takes today's day value from the day-value file, whose field 1 is "dd.mm".
// `parsed`, when given, shares the lines of files it parsed before.
void LoadZorvatTables(Workspace& ws, std::string_view processText, std::string_view scoreText,
                      std::string_view dayValuesText, const Date& today,
                      ZorvatLines* parsed = nullptr);

}  // namespace trotix
