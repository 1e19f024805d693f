#pragma once
// A history for the demo: past days built from the demo server, each signed in, analysed, picked
// and settled as a user would, into the demo archive.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/session.h"
#include "archive/sqlite_archive.h"
#include "net/stop_signal.h"
#include "text/dates.h"

namespace trotix::vendorsim {

struct DemoHistoryOptions {
  Date today;         // the history ends the day before
  int days = 30;      // this many days, oldest first
  uint64_t seed = 1;  // with the demo server's defaults, day D is the day `--today D` serves
  int races = 40;
  int maxConnections = 8;
  // Looked at between days: the days built before a stop are kept.
  const StopSignal* stop = nullptr;
};

struct DemoHistoryDay {
  Date day;
  int races = 0;
  int picks = 0;  // added to the report that day
  SettleSummary settlement;
  std::string error;  // why the day could not be built, empty when it was
};

// For each day: a demo server serving that date; sign-in; every race of "ALL TABLE" analysed
// with its runner pages; "Best Rank" and "Best Recoming" from real odds; the day's results; and
// "Settle". `onDay` is called after each day. The days' sessions keep their files (tx.log and
// the like) in a scratch folder of their own, so a data folder's files are never touched.
std::vector<DemoHistoryDay> BuildDemoHistory(
    SqliteArchive& store, const DemoHistoryOptions& options,
    const std::function<void(const DemoHistoryDay&, int index, int count)>& onDay = {});

}  // namespace trotix::vendorsim
