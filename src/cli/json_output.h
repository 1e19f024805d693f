#pragma once
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/session.h"
#include "app/view_state.h"
#include "archive/day_archive.h"
#include "model/workspace.h"

namespace trotix {

struct RunRecord {
  std::vector<std::string> messages;  // message boxes shown, in order
  std::vector<std::string> opened;    // addresses and files handed to the browser
  std::vector<std::string> errors;    // start-up notes, then errors that ended a command
};

nlohmann::json TableJson(const Table& table);
// The whole state after a run, as the command line's JSON contract gives it.
nlohmann::json WorkspaceJson(const Workspace& ws, const ViewState& view, const RunRecord& record);

// The picks ledger: one object per pick with its result; prices and SP are numbers or null.
nlohmann::json PicksJson(const std::vector<Pick>& picks);
nlohmann::json SettleJson(const SettleSummary& summary);

// `proof`: {"methods": [...], "source": "live" | "backtest", "run": N}; rates as fractions,
// money in points at 1-point level stakes.
// With a breakdown: {"by": "band", "groups": [{"group": "2-4", "methods": [...]}], "source",
// "run"}.
nlohmann::json ProofJson(const ProofSide& side, std::optional<proof::Breakdown> by = {});
// `picks`: one object per pick in race order; "profit" is the level-stakes profit to SP, 0 when
// void and null while pending.
nlohmann::json PickLinesJson(const std::vector<PickLine>& lines);
// `backtest`: the run, its days and whether it was cancelled.
nlohmann::json BacktestJson(const BacktestSummary& summary);

}  // namespace trotix
