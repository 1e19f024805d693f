#include "actions.h"

#include <functional>
#include <map>

#include "text/dates.h"
#include "text/numbers.h"

namespace trotix {
namespace {

enum class Arg { None, Row, OptionalDate, OnOff };

struct ActionSpec {
  Arg arg;
  std::function<std::string(Session&, const Action&)> run;
};

int RowOf(const Action& a) {
  return static_cast<int>(*ParseInteger(a.args.at(0)));
}

std::string CheckRow(const Table& table, const std::string& name, int row) {
  if (row >= 0 && row < table.RowCount()) return {};
  return "row " + std::to_string(row) + " of " + name + " does not exist (" +
         std::to_string(table.RowCount()) + " rows)";
}

const std::map<std::string, ActionSpec>& Specs() {
  static const std::map<std::string, ActionSpec> specs = {
      {"results",
       {Arg::OptionalDate,
        [](Session& s, const Action& a) {
          if (!a.args.empty()) s.ws().datas = a.args[0];
          s.LoadResults();
          return std::string();
        }}},
      {"zorvat",
       {Arg::Row,
        [](Session& s, const Action& a) {
          const int row = RowOf(a);
          if (auto e = CheckRow(s.ws().NX, "NX", row); !e.empty()) return e;
          s.NXCellDblClick(row);
          return std::string();
        }}},
      {"indicator",
       {Arg::Row,
        [](Session& s, const Action& a) {
          const int row = RowOf(a);
          if (auto e = CheckRow(s.ws().T1, "T1", row); !e.empty()) return e;
          s.FillIndicatorRace(row);
          return std::string();
        }}},
      {"link",
       {Arg::Row,
        [](Session& s, const Action& a) {
          const int row = RowOf(a);
          if (auto e = CheckRow(s.ws().REZ, "REZ", row); !e.empty()) return e;
          s.REZCellClick(12, row);
          return std::string();
        }}},
  };
  return specs;
}

}  // namespace

std::string ParseActions(const std::vector<std::string>& words, std::vector<Action>& actions) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    const auto spec = Specs().find(words[i]);
    if (spec == Specs().end()) return "unknown action: " + words[i];
    Action action{words[i], {}};
    const bool hasNext = i + 1 < words.size();
    switch (spec->second.arg) {
      case Arg::None:
        break;
      case Arg::Row:
        if (!hasNext || !ParseInteger(words[i + 1]))
          return "action " + words[i] + " needs a row number";
        action.args.push_back(words[++i]);
        break;
      case Arg::OptionalDate:
        if (hasNext && ParseDate(words[i + 1])) action.args.push_back(words[++i]);
        break;
      case Arg::OnOff:
        if (!hasNext || (words[i + 1] != "on" && words[i + 1] != "off"))
          return "action " + words[i] + " needs on or off";
        action.args.push_back(words[++i]);
        break;
    }
    actions.push_back(std::move(action));
  }
  return {};
}

std::string RunAction(Session& session, const Action& action) {
  return Specs().at(action.name).run(session, action);
}

}  // namespace trotix
