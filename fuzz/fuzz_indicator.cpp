// The day's indicator file into T1, then one race filled from runner pages taken from the input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "exchange/indicator_race.h"
#include "exchange/indicator_races.h"
#include "fuzz_input.h"
#include "model/workspace.h"
#include "text/strings.h"

using namespace trotix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // indicator file, then the runner pages answered in turn
  const auto parts = fuzz::SplitParts(data, size, 5);
  Workspace ws;
  ws.IndicatorList = SplitLines(parts[0]);
  RebuildIndicatorRaces(ws);
  if (ws.T1.RowCount() == 0) return 0;
  const VendorUrls urls(Hosts{});
  const auto fetch = [&](const std::vector<std::string>& asked) {
    std::vector<std::string> pages;
    for (std::size_t i = 0; i < asked.size(); ++i)
      pages.emplace_back(parts[1 + i % (parts.size() - 1)]);
    return pages;
  };
  FillIndicatorRace(ws, 0, urls, fetch);
  return 0;
}
