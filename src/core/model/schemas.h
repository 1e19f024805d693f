#pragma once
// The schema of every grid: captions, kinds, hidden flags and header hints, in the column order
// that model/columns.h names.
#include <memory>
#include <vector>

#include "table/table.h"

namespace trotix {

enum class Grid { RT, LG, T1, T2, NX, RF, H, TIPS, REZ, REP, MM, TAB, R, RR };

// Built once and shared by every table of the grid.
std::shared_ptr<const std::vector<Column>> GridColumns(Grid grid);

}  // namespace trotix
