#pragma once
// The analyses of one day's races kept for a second run over the same day: a replayed day runs
// Best Rank, then Best Recoming, and both analyse every race alike.
#include <array>
#include <span>
#include <string>
#include <vector>

#include "model/workspace.h"

namespace trotix {

// A race analysed again from the very tables and pages it had the last time ends as it did then:
// the analysis depends on nothing else. Valid while the day's lists stay as they are. One thread.
class AnalysisMemo {
 public:
  // Race `race`'s tables as its last analysis left them, when `ws` and `pages` are what that
  // analysis began with; returns whether they were restored. A race is restored once.
  bool Restore(Workspace& ws, int race, bool realOdds, std::span<const std::string> pages);
  // Call before analysing race `race`, then Keep after it.
  void Begin(const Workspace& ws, int race, bool realOdds, std::span<const std::string> pages);
  void Keep(const Workspace& ws);

 private:
  // What the analysis of a race reads and writes beside the day's lists, which it never changes.
  // Of the tables it empties first only the columns are read.
  struct RaceTables {
    std::array<Table, 6> tables;
    std::array<std::string, 16> texts;
  };
  static RaceTables Before(const WorkspaceView& v);
  static RaceTables After(const WorkspaceView& v);
  static bool Same(const WorkspaceView& v, const RaceTables& before);
  struct Analysed {
    int race = -1;
    bool realOdds = false;
    RaceTables before, after;
    std::vector<std::string> pages;
  };
  std::vector<Analysed> races_;  // by race
  Analysed begun_;
};

}  // namespace trotix
