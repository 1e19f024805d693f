#include "analysis/analysis_memo.h"

#include <algorithm>
#include <utility>

namespace trotix {
namespace {

constexpr Table WorkspaceView::*kTables[] = {&WorkspaceView::T2, &WorkspaceView::RF,
                                             &WorkspaceView::H,  &WorkspaceView::TAB,
                                             &WorkspaceView::R,  &WorkspaceView::RR};
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

AnalysisMemo::RaceTables AnalysisMemo::TablesOf(const WorkspaceView& v) {
  static_assert(std::size(kTables) == std::tuple_size_v<decltype(RaceTables::tables)>);
  static_assert(std::size(kTexts) == std::tuple_size_v<decltype(RaceTables::texts)>);
  RaceTables t;
  for (std::size_t i = 0; i < std::size(kTables); ++i) t.tables[i] = v.*kTables[i];
  for (std::size_t i = 0; i < std::size(kTexts); ++i) t.texts[i] = v.*kTexts[i];
  return t;
}

bool AnalysisMemo::Same(const WorkspaceView& v, const RaceTables& t) {
  for (std::size_t i = 0; i < std::size(kTexts); ++i)
    if (v.*kTexts[i] != t.texts[i]) return false;
  for (std::size_t i = 0; i < std::size(kTables); ++i)
    if (!(v.*kTables[i] == t.tables[i])) return false;
  return true;
}

bool AnalysisMemo::Restore(Workspace& ws, int race, bool realOdds,
                           std::span<const std::string> pages) const {
  if (race < 0 || static_cast<std::size_t>(race) >= races_.size()) return false;
  const Analysed& a = races_[race];
  if (a.race != race || a.realOdds != realOdds) return false;
  if (realOdds && !std::equal(pages.begin(), pages.end(), a.pages.begin(), a.pages.end()))
    return false;
  if (!Same(ws, a.before)) return false;
  for (std::size_t i = 0; i < std::size(kTables); ++i) ws.*kTables[i] = a.after.tables[i];
  for (std::size_t i = 0; i < std::size(kTexts); ++i) ws.*kTexts[i] = a.after.texts[i];
  return true;
}

void AnalysisMemo::Begin(const Workspace& ws, int race, bool realOdds,
                         std::span<const std::string> pages) {
  begun_.race = race;
  begun_.realOdds = realOdds;
  begun_.before = TablesOf(ws);
  begun_.pages.assign(pages.begin(), pages.end());
}

void AnalysisMemo::Keep(const Workspace& ws) {
  if (begun_.race < 0) return;
  begun_.after = TablesOf(ws);
  const auto race = static_cast<std::size_t>(begun_.race);
  if (races_.size() <= race) races_.resize(race + 1);
  races_[race] = std::move(begun_);
  begun_ = Analysed{};
}

}  // namespace trotix
