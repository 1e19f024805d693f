#pragma once
#include <string_view>

#include "table/table.h"

namespace trotix {

// The value of a Zorvat score text: "?" 2, "0" 1, empty 0, a whole number itself, else 0.
int ZorvatValue(std::string_view score);

// The Zorvat score of TAB `row` (column 18) as a percentage of the race's best score; 0 when
// no runner scored above 0.
int ZorvatPercent(const Table& TAB, int row);

}  // namespace trotix
