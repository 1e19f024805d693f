#include "actions.h"

#include "system_actions.h"

#include <functional>
#include <map>

#include "text/dates.h"
#include "text/numbers.h"

namespace trotix {
namespace {

enum class Arg { None, Row, OptionalDate, OnOff, Count, UpToTwoDates, TwoDates, Word, System };

constexpr int kMaxDays = 366;

struct ActionRule {
  Arg arg;
  std::function<std::string(Session&, ActionState&, const Action&)> run;
};

int RowOf(const Action& a) {
  return static_cast<int>(*ParseInteger(a.args.at(0)));
}

std::string CheckRow(const Table& table, const std::string& name, int row) {
  if (row >= 0 && row < table.RowCount()) return {};
  return "row " + std::to_string(row) + " of " + name + " does not exist (" +
         std::to_string(table.RowCount()) + " rows)";
}

// A click on row ROW of one of the workspace's grids.
ActionRule RowAction(Table Workspace::*table, const char* name, void (Session::*click)(int)) {
  return {Arg::Row, [=](Session& s, ActionState&, const Action& a) {
            const int row = RowOf(a);
            if (auto e = CheckRow(s.ws().*table, name, row); !e.empty()) return e;
            (s.*click)(row);
            return std::string();
          }};
}

ActionRule Click(void (Session::*click)()) {
  return {Arg::None, [=](Session& s, ActionState&, const Action&) {
            (s.*click)();
            return std::string();
          }};
}

// A page of the report, which an empty report does not write.
ActionRule ReportFile(void (Session::*save)()) {
  return {Arg::None, [=](Session& s, ActionState&, const Action& a) {
            if (s.ws().REP.RowCount() == 0)
              return a.name + ": the report is empty, nothing written";
            (s.*save)();
            return std::string();
          }};
}

// A best-of run, with the "From Real Odds" tick as it stands.
ActionRule BestOf(void (Session::*run)(bool)) {
  return {Arg::None, [=](Session& s, ActionState& state, const Action& a) {
            if (s.ws().MM.RowCount() == 0) return a.name + ": no race in today's card";
            (s.*run)(state.fromRealOdds);
            return std::string();
          }};
}

// Why an action that writes into the archive cannot run; empty when it can.
std::string WritableArchive(const ActionState& state, const std::string& action) {
  if (!state.archive) return action + " needs the archive";
  if (state.archiveReadOnly) return action + ": the archive is read-only";
  return {};
}

// A button that can only be clicked while the window enables it.
ActionRule Button(bool ViewState::*enabled, void (Session::*click)()) {
  return {Arg::None, [=](Session& s, ActionState&, const Action& a) {
            if (!(s.view().*enabled)) return a.name + ": the button is disabled";
            (s.*click)();
            return std::string();
          }};
}

// Why the figures of a report cannot be given; empty when they can.
std::string ReportError(const ActionState& state, const std::string& action) {
  if (!state.archive) return action + " needs the archive";
  if (!ChosenSide(*state.proof, state.backtestSource)) return action + ": no such back-test run";
  return {};
}

const std::map<std::string, ActionRule>& Rules() {
  static const std::map<std::string, ActionRule> rules = {
      {"today", RowAction(&Workspace::RT, "RT", &Session::AnalyseWithoutOdds)},
      {"all", RowAction(&Workspace::MM, "MM", &Session::AnalyseLive)},
      {"zorvat", RowAction(&Workspace::NX, "NX", &Session::ScoreZorvatRace)},
      {"indicator", RowAction(&Workspace::T1, "T1", &Session::FillIndicatorRace)},
      {"link", RowAction(&Workspace::REZ, "REZ", &Session::OpenResultLink)},
      {"add", RowAction(&Workspace::TAB, "TAB", &Session::AddToReport)},
      {"select", RowAction(&Workspace::REP, "REP", &Session::SelectReportRow)},
      {"results",
       {Arg::OptionalDate,
        [](Session& s, ActionState&, const Action& a) {
          const std::string date = a.args.empty() ? s.view().resultsDate : a.args[0];
          s.LoadResults(date);
          // The page's "No Information": the vendor has no results for that date.
          if (s.view().vizVisible) return "results: No Information for " + date;
          return std::string();
        }}},
      {"real-odds",
       {Arg::OnOff,
        [](Session&, ActionState& state, const Action& a) {
          state.fromRealOdds = a.args[0] == "on";
          return std::string();
        }}},
      {"settle",
       {Arg::None,
        [](Session& s, ActionState& state, const Action& a) {
          if (auto e = WritableArchive(state, a.name); !e.empty()) return e;
          state.settlements.push_back(s.Settle());
          state.archiveUsed = true;
          return std::string();
        }}},
      {"demo-history",
       {Arg::Count,
        [](Session&, ActionState& state, const Action& a) {
          if (!state.demoHistory) return std::string("demo-history needs --demo and the archive");
          if (auto e = WritableArchive(state, a.name); !e.empty()) return e;
          state.archiveUsed = true;
          return state.demoHistory(RowOf(a));
        }}},
      {"proof",
       {Arg::UpToTwoDates,
        [](Session& s, ActionState& state, const Action& a) {
          ProofQuery query = state.proofQuery;
          if (!a.args.empty()) query.from = ParseDate(a.args[0]);
          if (a.args.size() > 1) query.to = ParseDate(a.args[1]);
          s.ShowProof(query);
          state.proof = s.proof();
          return ReportError(state, "proof");
        }}},
      {"picks",
       {Arg::Word,
        [](Session& s, ActionState& state, const Action& a) {
          s.ShowProof(state.proofQuery);
          state.proof = s.proof();
          state.picksMethod = a.args[0];
          return ReportError(state, "picks");
        }}},
      {"backtest",
       {Arg::TwoDates,
        [](Session& s, ActionState& state, const Action& a) {
          if (auto e = WritableArchive(state, a.name); !e.empty()) return e;
          // Its figures are printed only by a `proof` after it, which computes them then.
          state.backtests.push_back(s.RunBacktest(*ParseDate(a.args[0]), *ParseDate(a.args[1]),
                                                  /*showFigures=*/false));
          if (state.backtests.back().days == 0)
            return "backtest: no stored day from " + a.args[0] + " to " + a.args[1];
          return std::string();
        }}},
      {"delete",
       {Arg::None,
        [](Session& s, ActionState&, const Action&) {
          const bool selected = s.ws().ReportRow >= 0 && s.ws().ReportRow < s.ws().REP.RowCount();
          s.DeleteReportRow();  // says "Select Please Horse" when no row is selected
          return selected ? std::string() : std::string("delete: no report row is selected");
        }}},
      {"system", {Arg::System, RunSystemAction}},
      {"clear", Click(&Session::ClearReport)},
      {"save", ReportFile(&Session::SaveReport)},
      {"csv", ReportFile(&Session::ExportReportCsv)},
      {"best-rank", BestOf(&Session::RunBestRank)},
      {"best-recoming", BestOf(&Session::RunBestRecoming)},
      {"tv", Button(&ViewState::tvbuttonEnabled, &Session::OpenVideo)},
      {"market", Button(&ViewState::bfbuttonEnabled, &Session::OpenMarket)},
  };
  return rules;
}

}  // namespace

std::string ParseActions(const std::vector<std::string>& words, std::vector<Action>& actions) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    const auto rule = Rules().find(words[i]);
    if (rule == Rules().end()) return "unknown action: " + words[i];
    Action action{words[i], {}};
    const bool hasNext = i + 1 < words.size();
    switch (rule->second.arg) {
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
      case Arg::Count:
        if (const auto n = hasNext ? ParseInteger(words[i + 1]) : std::nullopt;
            !n || *n < 1 || *n > kMaxDays)
          return "action " + words[i] + " needs a number of days from 1 to " +
                 std::to_string(kMaxDays);
        action.args.push_back(words[++i]);
        break;
      case Arg::UpToTwoDates:
        for (int n = 0; n < 2 && i + 1 < words.size() && ParseDate(words[i + 1]); ++n)
          action.args.push_back(words[++i]);
        break;
      case Arg::TwoDates:
        for (int n = 0; n < 2; ++n) {
          if (i + 1 >= words.size() || !ParseDate(words[i + 1]))
            return "action " + action.name + " needs two dates, dd.mm.yyyy";
          action.args.push_back(words[++i]);
        }
        break;
      case Arg::Word:
        if (!hasNext) return "action " + words[i] + " needs a method, such as \"Best Rank\"";
        action.args.push_back(words[++i]);
        break;
      case Arg::System:
        if (auto error = ParseSystemWords(words, i, action); !error.empty()) return error;
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

bool IsArchiveReport(const Action& action) {
  return action.name == "proof" || action.name == "picks" || action.name == "backtest" ||
         IsOfflineSystemAction(action);
}

const ProofSide* ChosenSide(const ProofReport& report, bool backtest) {
  for (const ProofSide& side : report.sides)
    if ((side.source == PickSource::kBacktest) == backtest) return &side;
  return nullptr;
}

std::string RunAction(Session& session, ActionState& state, const Action& action) {
  return Rules().at(action.name).run(session, state, action);
}

}  // namespace trotix
