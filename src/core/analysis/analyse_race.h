#pragma once
// The analysis of one race for "ALL TABLE": the race card, the exchange's runners (live only),
// the Zorvat score, everything merged into TAB, the best values in bold, R and RR.
#include <string>
#include <vector>

#include "analysis/zorvat/score_lookup.h"
#include "model/workspace.h"
#include "net/http_client.h"
#include "net/vendor_urls.h"

namespace trotix {

// Analyses the race in row `raceIndex` of MM and leaves it in TAB, R, RR and u1-u8. With
// `realOdds` the race's exchange runners are fetched afresh into T2 (setting bfnumber);
// without, T2 is used as it stands. Throws std::out_of_range for a row MM does not have.
// `scores`, when given, indexes ws.ScoreBase (a run over many races builds it once).
void AnalyseRace(Workspace& ws, int raceIndex, bool realOdds, const VendorUrls& urls,
                 const PageFetcher& fetch, const ScoreIndex* scores = nullptr);

// True when T2 holds the exchange runners of the race in row `raceIndex` of MM.
bool ExchangeHoldsRace(const Workspace& ws, int raceIndex);

// The runner pages an analysis with `realOdds` asks for, so a run over many races can fetch them
// all ahead.
std::vector<std::string> RealOddsPages(const Workspace& ws, int raceIndex, const VendorUrls& urls);

}  // namespace trotix
