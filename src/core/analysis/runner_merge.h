#pragma once
#include "model/workspace.h"

namespace trotix {

// u8 := the exchange total of T2 when T2 holds the race on screen (`ownRace`), the label's bare
// caption otherwise, so it never shows another race's money.
void ShowExchangeTotal(Workspace& ws, bool ownRace);

// Gives every runner of TAB what the other tables hold for it, matched by upper-cased name,
// the last matching row winning: the tip mark (TIPS), the price movement and last price (LG),
// the form score, the money share, exchange price, identifiers and indicator flag (T2, whose
// price replaces the moves price) and the Zorvat score (H). Without `realOdds` a moves price
// that is no number reads as 1,01.
void MergeRunnerData(Workspace& ws, bool realOdds);

// The race on screen before its runner pages have come: every exchange figure (TAB's money share,
// exchange price and identifiers, Summa's BF %, the money matched) says kNotLoaded instead of a
// value that belongs to no page.
void MarkExchangeNotLoaded(Workspace& ws);

}  // namespace trotix
