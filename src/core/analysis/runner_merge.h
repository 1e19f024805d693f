#pragma once
#include "model/workspace.h"

namespace trotix {

// u8 := the exchange total of the race T2 holds; kept as it is when T2 is empty.
void ShowExchangeTotal(Workspace& ws);

// Gives every runner of TAB what the other tables hold for it, matched by upper-cased name,
// the last matching row winning: the tip mark (TIPS), the price movement and last price (LG),
// the form score, the money share, exchange price, identifiers and indicator flag (T2, whose
// price replaces the moves price) and the Zorvat score (H). Without `realOdds` a moves price
// that is no number reads as 1,01.
void MergeRunnerData(Workspace& ws, bool realOdds);

}  // namespace trotix
