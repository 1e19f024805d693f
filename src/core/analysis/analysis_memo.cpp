#include "analysis/analysis_memo.h"

#include <algorithm>
#include <utility>

namespace trotix {
namespace {

// The tables the analysis fills, those it empties first last.
constexpr Table WorkspaceView::*kTables[] = {&WorkspaceView::T2, &WorkspaceView::RF,
                                             &WorkspaceView::H,  &WorkspaceView::TAB,
                                             &WorkspaceView::R,  &WorkspaceView::RR};
constexpr std::size_t kFilledAfresh = 3;
constexpr std::string WorkspaceView::*kTexts[] = {
    &WorkspaceView::u1,           &WorkspaceView::u2,
    &WorkspaceView::u3,           &WorkspaceView::u4,
    &WorkspaceView::u5,           &WorkspaceView::u6,
    &WorkspaceView::u7,           &WorkspaceView::u8,
    &WorkspaceView::bfnumber,     &WorkspaceView::ind1,
    &WorkspaceView::ind2,         &WorkspaceView::spSkinLabel3,
    &WorkspaceView::spSkinLabel4, &WorkspaceView::e1,
    &WorkspaceView::e2,           &WorkspaceView::e3};

}  // namespace

AnalysisMemo::RaceTables AnalysisMemo::Before(const WorkspaceView& v) {
  RaceTables t;
  for (std::size_t i = 0; i < std::size(kTables); ++i)
    t.tables[i] = i < kFilledAfresh ? v.*kTables[i] : Table((v.*kTables[i]).Columns());
  for (std::size_t i = 0; i < std::size(kTexts); ++i) t.texts[i] = v.*kTexts[i];
  return t;
}

AnalysisMemo::RaceTables AnalysisMemo::After(const WorkspaceView& v) {
  RaceTables t;
  for (std::size_t i = 0; i < std::size(kTables); ++i) t.tables[i] = v.*kTables[i];
  for (std::size_t i = 0; i < std::size(kTexts); ++i) t.texts[i] = v.*kTexts[i];
  return t;
}

bool AnalysisMemo::Same(const WorkspaceView& v, const RaceTables& before) {
  static_assert(std::size(kTables) == std::tuple_size_v<decltype(RaceTables::tables)>);
  static_assert(std::size(kTexts) == std::tuple_size_v<decltype(RaceTables::texts)>);
  for (std::size_t i = 0; i < std::size(kTexts); ++i)
    if (v.*kTexts[i] != before.texts[i]) return false;
  for (std::size_t i = 0; i < std::size(kTables); ++i) {
    const Table& table = v.*kTables[i];
    if (i < kFilledAfresh ? !(table == before.tables[i])
                          : table.Columns() != before.tables[i].Columns())
      return false;
  }
  return true;
}

bool AnalysisMemo::Restore(Workspace& ws, int race, bool realOdds,
                           std::span<const std::string> pages) {
  if (race < 0 || static_cast<std::size_t>(race) >= races_.size()) return false;
  Analysed& a = races_[race];
  if (a.race != race || a.realOdds != realOdds) return false;
  if (realOdds && !std::equal(pages.begin(), pages.end(), a.pages.begin(), a.pages.end()))
    return false;
  if (!Same(ws, a.before)) return false;
  for (std::size_t i = 0; i < std::size(kTables); ++i)
    ws.*kTables[i] = std::move(a.after.tables[i]);
  for (std::size_t i = 0; i < std::size(kTexts); ++i) ws.*kTexts[i] = std::move(a.after.texts[i]);
  a = Analysed{};
  return true;
}

void AnalysisMemo::Begin(const Workspace& ws, int race, bool realOdds,
                         std::span<const std::string> pages) {
  begun_.race = race;
  begun_.realOdds = realOdds;
  begun_.before = Before(ws);
  begun_.pages.assign(pages.begin(), pages.end());
}

void AnalysisMemo::Keep(const Workspace& ws) {
  if (begun_.race < 0) return;
  begun_.after = After(ws);
  const auto race = static_cast<std::size_t>(begun_.race);
  if (races_.size() <= race) races_.resize(race + 1);
  races_[race] = std::move(begun_);
  begun_ = Analysed{};
}

}  // namespace trotix
