#pragma once
#include "table/table.h"

namespace trotix {

// Sets bold every TAB cell holding its column's best value: the largest integer of the share
// and score columns (from 0), the lowest "Kf" (from 5000) and the strongest shortening of the
// price movement (from 0). Since the searches start there, a column without a better value
// marks every cell holding exactly the start value.
void MarkBestValues(Table& TAB);

}  // namespace trotix
