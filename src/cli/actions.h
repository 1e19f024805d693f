#pragma once
// The command line's actions: each stands for one click of the user on the window.
#include <functional>
#include <string>
#include <vector>

#include "app/session.h"

namespace trotix {

struct Action {
  std::string name;
  std::vector<std::string> args;
};

// Splits the positional words into actions. Returns the error text for words that are no
// action, or an action without its argument; empty when all is well.
std::string ParseActions(const std::vector<std::string>& words, std::vector<Action>& actions);

// What the command line keeps between actions, as the window's controls would: the
// "From Real Odds" tick; and what the archive's actions leave for the output.
struct ActionState {
  bool fromRealOdds = true;
  std::vector<SettleSummary> settlements;  // one per "settle"
  // Builds the demo history of that many days; set only with --demo and the archive. Returns the
  // error text, empty when all went well.
  std::function<std::string(int days)> demoHistory;
  bool archiveUsed = false;  // an action of the archive ran: the output lists the ledger

  // The statistics: the options' course, commission and back-test run; `proof` adds its dates.
  ProofQuery proofQuery;
  bool backtestSource = false;   // --source backtest: the run's figures, not the live ones
  bool archive = false;          // the run has the archive
  bool archiveReadOnly = false;  // it serves reports and replays but keeps nothing
  // What the archive's reports leave for the output: the figures of the last `proof` or
  // `picks`, the method `picks` listed, and each `backtest`.
  std::shared_ptr<const ProofReport> proof;
  std::string picksMethod;
  std::vector<BacktestSummary> backtests;
  // `system`: --split, whether JSON is wanted, and what the action prints.
  std::optional<Date> split;
  bool json = false;
  std::string systemOutput;
};

// `proof`, `picks` and `backtest` read only the archive: a run of nothing else signs in to no
// server.
bool IsArchiveReport(const Action& action);
// The figures of the source the options chose in `report`; none when it has no such run.
const ProofSide* ChosenSide(const ProofReport& report, bool backtest);

// Runs one action on the session. Returns the error text when the action could not run (a row
// out of range), empty otherwise.
std::string RunAction(Session& session, ActionState& state, const Action& action);

}  // namespace trotix
