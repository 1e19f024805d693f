// The sign-in answer with the course table: race lists, every race card and its Zorvat score.
#include <cstddef>
#include <cstdint>
#include <string>

#include "analysis/zorvat/score_race.h"
#include "feeds/race_day.h"
#include "fuzz_input.h"
#include "model/workspace.h"
#include "text/strings.h"

using namespace trotix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // course table, day data
  const auto parts = fuzz::SplitParts(data, size, 2);
  Workspace ws;
  ws.CourseTable = SplitLines(parts[0]);
  ws.DayData = SplitLines(parts[1]);
  FillRaceLists(ws);
  if (ws.RT.RowCount() != ws.MM.RowCount() || ws.NX.RowCount() != ws.MM.RowCount() ||
      ws.DayRaces.races.size() != static_cast<std::size_t>(ws.RT.RowCount()))
    __builtin_trap();
  // ScoreRace reads each race's card through ParseRaceCard; the lists name the same races.
  const int races = std::min(ws.MM.RowCount(), 3);
  for (int row = 0; row < races; ++row) ScoreRace(ws, row);
  return 0;
}
