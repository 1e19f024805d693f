#pragma once
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/view_state.h"
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

}  // namespace trotix
