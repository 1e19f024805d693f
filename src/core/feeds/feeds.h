#pragma once
// The three small feeds of the data server: tips, market moves and results.
#include <optional>
#include <string>
#include <string_view>

#include "app/workspace.h"

namespace trotix {

// Appends the tipsters' selections to TIPS; a runner name already listed is skipped.
void LoadTips(Workspace& ws, std::string_view feed);

// Appends the market moves to LG, colouring the movement cell.
void LoadMoves(Workspace& ws, std::string_view feed);

// Refills REZ from a results answer, sorted by time. Sets `vizVisible` ("No Information") when
// no result line was found.
void LoadResults(Workspace& ws, std::string_view answer);

// The "Link" column of REZ; the result page's address stands hidden in the column before it.
inline constexpr int kRezLinkColumn = 12;

// A click on a REZ cell: the result page's address when the "Link" column was clicked and the
// address is a web address, nothing otherwise.
std::optional<std::string> REZCellClick(const Workspace& ws, int col, int row);

}  // namespace trotix
