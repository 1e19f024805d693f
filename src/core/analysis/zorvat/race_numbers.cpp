#include "analysis/zorvat/race_numbers.h"

#include "analysis/zorvat/words.h"
#include "model/columns.h"

namespace trotix {

RaceNumbers ReadRaceNumbers(const Table& RF) {
  RaceNumbers rn;
  if (RF.RowCount() == 0) return rn;
  for (int i = 0; i < 4; ++i) rn.folded[i] = FoldNumber(RF.Integer(0, rf::kDV + i));
  return rn;
}

int MatchRaceNumber(const RaceNumbers& rn, int value, const std::array<int, 4>& order) {
  const int v = FoldNumber(value);
  for (int i : order)
    if (rn.folded[i] == v) return i;
  return -1;
}

bool IsRaceNumber(const RaceNumbers& rn, int value) {
  return MatchRaceNumber(rn, value) >= 0;
}

std::string Mark(const RaceNumbers& rn, int value) {
  static const char* const kMarks[4] = {"A", "B", "a", "c"};
  const int i = MatchRaceNumber(rn, value);
  return i < 0 ? std::string() : kMarks[i];
}

std::string BracketedMark(const RaceNumbers& rn, int value, const std::array<int, 4>& order) {
  static const char* const kMarks[4] = {"(A)", "(B)", "(a)", "(c)"};
  const int i = MatchRaceNumber(rn, value, order);
  return i < 0 ? "(x)" : kMarks[i];
}

std::string LetterCode(const RaceNumbers& rn, int p1, int p2, int p3) {
  static constexpr char kLetters[4] = {'D', 'F', 'I', 'V'};
  const int a = FoldNumber(p1), b = FoldNumber(p2), c = FoldNumber(p3);
  std::string code;
  for (int i = 0; i < 4; ++i) {
    const int n = rn.folded[i];
    if (n == a || n == b || n == c) code += kLetters[i];
  }
  return code.empty() ? "x" : code;
}

std::string LetterCode(const Table& RF, int p1, int p2, int p3) {
  return LetterCode(ReadRaceNumbers(RF), p1, p2, p3);
}

Rgb RaceNumberColor(int index) {
  static constexpr Rgb kColors[4] = {colors::kRed, colors::kGreen, colors::kLightBlue,
                                     colors::kPurple};
  return index >= 0 && index < 4 ? kColors[index] : colors::kWhite;
}

void StyleRaceNumbers(Table& RF) {
  static constexpr Rgb kFonts[4] = {colors::kRed, colors::kGreen, colors::kNavy, colors::kPurple};
  for (int row = 0; row < RF.RowCount(); ++row) {
    for (int i = 0; i < 4 && i < RF.ColumnCount(); ++i) {
      Cell& c = RF.At(row, i);
      c.bold = true;
      c.fontColor = kFonts[i];
    }
  }
}

}  // namespace trotix
