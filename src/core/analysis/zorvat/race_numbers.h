#pragma once
// The four race numbers DV, FNH, ID and VP of the grid RF, and what a value is called when it
// equals one of them.
#include <array>
#include <string>

#include "table/table.h"

namespace trotix {

// Folded DV, FNH, ID and VP, in this order.
struct RaceNumbers {
  std::array<int, 4> folded{};
};

// Precedence among equal race numbers: DV, FNH, ID, VP; the Ex. rule's Part I fallback asks
// ID, FNH, DV, VP instead.
inline constexpr std::array<int, 4> kUsualOrder{0, 1, 2, 3};
inline constexpr std::array<int, 4> kExOrder{2, 1, 0, 3};

// Reads row 0 of RF as integers and folds them; all 0 when RF has no row.
RaceNumbers ReadRaceNumbers(const Table& RF);

// Index (0 DV .. 3 VP) of the race number the folded value equals, first in `order`; -1 if none.
int MatchRaceNumber(const RaceNumbers& rn, int value,
                    const std::array<int, 4>& order = kUsualOrder);
bool IsRaceNumber(const RaceNumbers& rn, int value);

// "A", "B", "a", "c", or the empty text for no race number.
std::string Mark(const RaceNumbers& rn, int value);
// "(A)", "(B)", "(a)", "(c)", or "(x)" for no race number.
std::string BracketedMark(const RaceNumbers& rn, int value,
                          const std::array<int, 4>& order = kUsualOrder);

// Code letters "D", "F", "I", "V" of the race numbers equal to p1, p2 or p3 (folded); "x" if none.
std::string LetterCode(const Table& RF, int p1, int p2, int p3);
std::string LetterCode(const RaceNumbers& rn, int p1, int p2, int p3);

// Background of a value cell equal to race number `index` (red, green, light blue, purple).
Rgb RaceNumberColor(int index);

// Bold text in red, green, navy and purple on the four cells of RF's row.
void StyleRaceNumbers(Table& RF);

}  // namespace trotix
