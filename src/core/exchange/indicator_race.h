#pragma once
// The exchange runners of one race: money shares, prices, start prices and market strength.
#include "app/workspace.h"
#include "net/http_client.h"
#include "net/vendor_urls.h"

namespace trotix {

// Columns of T2.
namespace t2 {
enum : int {
  kName = 0,
  kShare = 1,     // "%": the runner's share of the money matched on the event
  kAllSum = 2,    // money matched on the event
  kSum = 3,       // money matched on the runner
  kOdd = 4,       // last matched price, 5000 without one
  kSt1 = 5,       // strength over the three shortest prices
  kSt2 = 6,       // strength over the second to fourth shortest prices
  kMarketId = 7,  // win market
  kSelectionId = 8,
  kStartOdd = 9,
  kShift = 10,  // last price against the start price, whole percent
  kPlace = 11,
  kPlaceSum = 12,
};
}  // namespace t2

// Fills T2 for the race in `row` of T1 from the runner pages of its IndicatorList lines: win
// page then place page of each line, all asked of `fetch` in one batch. Sorts T2 by price,
// computes St1/ind1 and St2/ind2 and colours the runners of a strong market light green;
// bfnumber ends as the win market of the race's last line. An empty IndicatorList changes
// nothing. `row` must name a row of T1.
void FillIndicatorRace(Workspace& ws, int row, const VendorUrls& urls, const PageFetcher& fetch);

}  // namespace trotix
