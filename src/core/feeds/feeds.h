#pragma once
// The three small feeds of the data server: tips, market moves and results.
#include <optional>
#include <string>
#include <string_view>

#include "model/workspace.h"

namespace trotix {

// Appends the tipsters' selections to TIPS; a runner name already listed is skipped.
void LoadTips(Workspace& ws, std::string_view feed);

// Appends the market moves to LG, colouring the movement cell.
void LoadMoves(Workspace& ws, std::string_view feed);

// Refills REZ from a results answer, sorted by time. False when no result line was found (the
// window then says "No Information").
bool LoadResults(Workspace& ws, std::string_view answer);

// The address behind the "Link" cell of REZ row `row`, when it is a web address.
std::optional<std::string> ResultLink(const Workspace& ws, int row);

}  // namespace trotix
