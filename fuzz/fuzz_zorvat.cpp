// The three Zorvat reference files, then a race scored against them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "analysis/zorvat/reference_tables.h"
#include "analysis/zorvat/score_race.h"
#include "feeds/race_day.h"
#include "fuzz_input.h"
#include "model/workspace.h"
#include "text/strings.h"

using namespace trotix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // process table, score table, day values, day data
  const auto parts = fuzz::SplitParts(data, size, 4);
  Workspace ws;
  LoadZorvatTables(ws, parts[0], parts[1], parts[2], Date{2026, 12, 8});
  if (ws.RF.RowCount() != 1) __builtin_trap();
  ws.DayData = SplitLines(parts[3]);
  FillRaceLists(ws);
  const int races = std::min(ws.NX.RowCount(), 2);
  for (int row = 0; row < races; ++row) ScoreRace(ws, row);
  return 0;
}
