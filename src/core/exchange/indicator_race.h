#pragma once
// The exchange runners of one race: money shares, prices, start prices and market strength.
#include "model/columns.h"
#include "model/workspace.h"
#include "net/http_client.h"
#include "net/vendor_urls.h"

namespace trotix {

// Fills T2 for the race in `row` of T1 from the runner pages of its IndicatorList lines: win
// page then place page of each line, all asked of `fetch` in one batch. Sorts T2 by price,
// computes St1/ind1 and St2/ind2 and colours the runners of a strong market light green. A runner
// whose amounts cannot be read, or whose money exceeds the event's, has a share of 0 and is never
// coloured. bfnumber ends as the win market of the race's last line. An empty IndicatorList changes
// nothing. `row` must name a row of T1.
// The pages FillIndicatorRace asks for, in its order: the win page, then the place page of
// every runner line of the race in row `row` of T1. Empty when IndicatorList is empty.
std::vector<std::string> IndicatorRacePages(const Workspace& ws, int row, const VendorUrls& urls);

void FillIndicatorRace(Workspace& ws, int row, const VendorUrls& urls, const PageFetcher& fetch);

}  // namespace trotix
