#include "analysis/zorvat/score_race.h"

#include <string>
#include <vector>

#include "analysis/zorvat/race_numbers.h"
#include "analysis/zorvat/rate_runners.h"
#include "analysis/zorvat/runner_list.h"
#include "analysis/zorvat/words.h"
#include "feeds/race_day.h"
#include "model/columns.h"
#include "text/fields.h"
#include "text/name_number.h"
#include "text/strings.h"

namespace trotix {
namespace {

// Fills one row of H from a runner item; returns the runner's "ID".
int FillRunner(Table& H, int row, const std::string& item) {
  const int position = row + 1;
  H.SetText(row, h::kNo, std::to_string(position));
  // The " 0" sentinel lets SplitWords return the name's last word.
  const auto words = SplitWords(GetField(item, 2) + " 0");
  const std::string horse = Trim(CapitalizeWords(words));
  H.SetText(row, h::kHorse, horse);
  H.SetNumber(row, h::kVH, WordsNumber(words));
  const int id = horse.empty() ? 0 : LetterValue(horse[0]);
  H.SetNumber(row, h::kRunnerId, id);
  H.SetColor(row, h::kHorse, colors::kWhite);
  H.SetNumber(row, h::kNH, DigitalRoot(position));
  return id;
}

// A race number written as more than one character counts as the sum of its digits, once.
void ReduceRaceNumbers(Table& RF) {
  for (int col : {rf::kDV, rf::kFNH, rf::kID, rf::kVP}) {
    const std::string text = RF.Text(0, col);
    if (text.size() <= 1) continue;
    int sum = 0;
    for (char c : text)
      if (c >= '0' && c <= '9') sum += c - '0';
    RF.SetNumber(0, col, sum);
  }
}

}  // namespace

void ScoreRace(Workspace& ws, int row, const ScoreIndex* scores) {
  // Only words followed by a space count: the name's last word takes no part.
  const auto words = SplitWords(ReplaceText(ws.NX.Text(row, nx::kName), ".", " "));
  std::string title = JoinWords(words);
  if (const auto bracket = title.find('('); bracket != std::string::npos) title.resize(bracket);
  ws.e1 = title;
  ws.e2 = ws.NX.Text(row, nx::kTime);
  ws.e3 = ws.NX.Text(row, nx::kCourse);

  ParseRaceCard(ws, ws.NX, row);

  if (ws.RF.RowCount() < 1) ws.RF.SetRowCount(1);
  ws.RF.SetNumber(0, rf::kVP, WordsNumber(words));

  const auto items = SortedRunnerList(ws.TAB);
  // A card without runners empties H rather than scoring the previous race's rows again.
  ws.H.SetRowCount(static_cast<int>(items.size()));
  long long idSum = 0;
  for (int i = 0; i < static_cast<int>(items.size()); ++i) idSum += FillRunner(ws.H, i, items[i]);

  ws.RF.SetNumber(0, rf::kID, DigitalRoot(idSum));
  ws.RF.SetNumber(0, rf::kFNH, DigitalRoot(ws.H.RowCount()));
  ReduceRaceNumbers(ws.RF);
  StyleRaceNumbers(ws.RF);

  RateRunners(ws.H, ws.RF, *ws.ProcessBase, *ws.ScoreBase, scores);
}

}  // namespace trotix
