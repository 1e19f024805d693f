#pragma once
// The race's runners in the order Zorvat numbers them.
#include <string>
#include <string_view>
#include <vector>

#include "table/table.h"

namespace trotix {

// Ascending order without regard to letter case, in which punctuation (the ">" of a field
// record among it) comes before the digits and the digits before the letters, so that
// "1>>A>>1>>" < "10>>B>>1>>" < "2>>C>>1>>".
bool RunnerItemLess(std::string_view a, std::string_view b);

// One item "number>>name>>1>>" per row of the race card (column 0 the number, column 1 the
// name), sorted with RunnerItemLess; runners that compare equal keep the card's order.
std::vector<std::string> SortedRunnerList(const Table& raceCard);

}  // namespace trotix
