#include "json_output.h"

#include <cstdio>

#include "model/prices.h"
#include "text/encoding.h"

namespace trotix {
namespace {

const char* KindName(ColumnKind kind) {
  switch (kind) {
    case ColumnKind::Number:
      return "number";
    case ColumnKind::Image:
      return "image";
    case ColumnKind::Text:
      break;
  }
  return "text";
}

std::string HexColor(const Rgb& c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c.r, c.g, c.b);
  return buf;
}

nlohmann::json Number(const std::optional<double>& v) {
  return v ? nlohmann::json(*v) : nlohmann::json(nullptr);
}

nlohmann::json Strings(const std::vector<std::string>& list) {
  auto out = nlohmann::json::array();
  for (const auto& s : list) out.push_back(DisplayUtf8(s));
  return out;
}

}  // namespace

nlohmann::json TableJson(const Table& table) {
  auto columns = nlohmann::json::array();
  for (const auto& c : table.Columns())
    columns.push_back(
        {{"caption", DisplayUtf8(c.caption)}, {"kind", KindName(c.kind)}, {"hidden", c.hidden}});
  auto rows = nlohmann::json::array();
  for (int r = 0; r < table.RowCount(); ++r) {
    auto row = nlohmann::json::array();
    for (int c = 0; c < table.ColumnCount(); ++c) {
      const Cell& cell = table.At(r, c);
      const ColumnKind kind = table.Columns()[c].kind;
      row.push_back({{"text", DisplayUtf8(table.Text(r, c))},
                     {"value", kind == ColumnKind::Number ? nlohmann::json(cell.value) : nullptr},
                     {"image", kind == ColumnKind::Image ? nlohmann::json(cell.image) : nullptr},
                     {"color", cell.color ? nlohmann::json(HexColor(*cell.color)) : nullptr},
                     {"bold", cell.bold},
                     {"hint", DisplayUtf8(cell.hint)}});
    }
    rows.push_back(std::move(row));
  }
  return {{"columns", std::move(columns)}, {"rows", std::move(rows)}};
}

nlohmann::json WorkspaceJson(const Workspace& ws, const ViewState& view, const RunRecord& record) {
  nlohmann::json tables = nlohmann::json::object();
  for (const auto& [name, table] : ws.Tables()) tables[name] = TableJson(*table);
  nlohmann::json labels = nlohmann::json::object();
  for (const auto& [name, caption] : ws.Labels()) labels[name] = DisplayUtf8(caption);
  return {{"signedIn", view.signedIn},
          {"tables", std::move(tables)},
          {"labels", std::move(labels)},
          {"enabled", {{"tvbutton", view.tvbuttonEnabled}, {"bfbutton", view.bfbuttonEnabled}}},
          {"visibleTabs", Strings(view.VisibleTabs())},
          {"messages", Strings(record.messages)},
          {"opened", Strings(record.opened)},
          {"errors", Strings(record.errors)}};
}

nlohmann::json PicksJson(const std::vector<Pick>& picks) {
  auto out = nlohmann::json::array();
  for (const Pick& p : picks)
    out.push_back({{"day", FormatDate(p.day)},
                   {"time", DisplayUtf8(p.time)},
                   {"course", DisplayUtf8(p.course)},
                   {"runner", DisplayUtf8(p.runner)},
                   {"system", DisplayUtf8(p.system)},
                   {"odds", DisplayUtf8(p.odds)},
                   {"price", Number(RealPrice(p.price))},
                   {"source", PickSourceName(p.source)},
                   {"run", p.runId},
                   {"result", PickResultName(p.result)},
                   {"position", p.position > 0 ? nlohmann::json(p.position) : nullptr},
                   {"sp", Number(RealPrice(p.sp))},
                   {"late", p.late},
                   {"withdrawn", p.withdrawn}});
  return out;
}

nlohmann::json SettleJson(const SettleSummary& s) {
  return {{"days", s.days},   {"picks", s.picks},         {"settled", s.settled},
          {"won", s.won},     {"placed", s.placed},       {"unplaced", s.unplaced},
          {"void", s.voided}, {"resettled", s.resettled}, {"failedDays", s.failedDays}};
}

// The late and withdrawn counts come with the whole side's methods; a group has none.
nlohmann::json MethodsJson(const std::vector<proof::MethodFigures>& figures,
                           const ProofSide::ApartCounts* apart) {
  auto methods = nlohmann::json::array();
  for (const proof::MethodFigures& f : figures) {
    const auto found = apart ? apart->find(f.method) : ProofSide::ApartCounts::const_iterator{};
    const ProofSide::Apart counts =
        apart && found != apart->end() ? found->second : ProofSide::Apart{};
    methods.push_back({{"method", DisplayUtf8(f.method)},
                       {"bets", f.bets},
                       {"winners", f.winners},
                       {"placed", f.placed},
                       {"void", f.voids},
                       {"strikeRate", f.strikeRate},
                       {"wilsonLow", f.wilsonLow},
                       {"wilsonHigh", f.wilsonHigh},
                       {"profitSP", f.profitSP},
                       {"roiSP", f.roiSP},
                       {"pricedBets", f.pricedBets},
                       {"profitPrice", f.profitPrice},
                       {"roiPrice", f.roiPrice},
                       {"aE", f.aE},
                       {"expectedWinners", f.expectedWinners},
                       {"archie", f.archie},
                       {"archieP", f.archieP},
                       {"longestLosingRun", f.longestLosingRun},
                       {"expectedLongestLosingRun", f.expectedLongestLosingRun},
                       {"maxDrawdown", f.maxDrawdown},
                       {"drawdownInLosingRuns", f.drawdownInLosingRuns},
                       {"profitSPWithoutTop", f.profitSPWithoutTop},
                       {"roiSPWithoutTop", f.roiSPWithoutTop},
                       {"profitPriceWithoutTop", f.profitPriceWithoutTop},
                       {"roiPriceWithoutTop", f.roiPriceWithoutTop},
                       {"topShareOfProfit", f.topShareOfProfit},
                       {"luckOneIn", f.luckOneIn},
                       {"luckExact", f.luckExact},
                       {"curve", f.curve},
                       {"late", counts.late},
                       {"withdrawn", counts.withdrawn}});
  }
  return methods;
}

nlohmann::json ProofJson(const ProofSide& side, std::optional<proof::Breakdown> by) {
  nlohmann::json out;
  if (by) {
    auto groups = nlohmann::json::array();
    for (const proof::GroupFigures& g : side.groups)
      groups.push_back(
          {{"group", DisplayUtf8(g.group)}, {"methods", MethodsJson(g.methods, nullptr)}});
    out = {{"by", proof::BreakdownName(*by)}, {"groups", std::move(groups)}};
  } else {
    out = {{"methods", MethodsJson(side.methods, &side.apartByMethod)}};
  }
  out["source"] = PickSourceName(side.source);
  out["run"] = side.runId;
  return out;
}

nlohmann::json PickLinesJson(const std::vector<PickLine>& lines) {
  auto out = nlohmann::json::array();
  for (const PickLine& l : lines) {
    const proof::Bet& b = l.bet;
    out.push_back({{"date", FormatDate(b.date)},
                   {"time", DisplayUtf8(b.time)},
                   {"course", DisplayUtf8(b.course)},
                   {"runner", DisplayUtf8(b.runner)},
                   {"method", DisplayUtf8(b.method)},
                   {"price", Number(b.price)},
                   {"result", l.apart.empty() ? proof::ResultName(b.result) : l.apart},
                   {"sp", Number(b.sp)},
                   {"profit", Number(l.profit)}});
  }
  return out;
}

nlohmann::json BacktestJson(const BacktestSummary& s) {
  auto days = nlohmann::json::array();
  for (const BacktestDay& d : s.done)
    days.push_back({{"day", FormatDate(d.day)},
                    {"races", d.races},
                    {"picks", d.picks},
                    {"settled", d.settled},
                    {"fromRealOdds", d.fromRealOdds},
                    {"lateOddsRaces", d.lateOddsRaces},
                    {"lateFeedRaces", d.lateFeedRaces},
                    {"note", d.note}});
  return {{"run", s.runId},
          {"storedDays", s.days},
          {"days", std::move(days)},
          {"cancelled", s.cancelled}};
}

}  // namespace trotix
