#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "table/table.h"

namespace trotix {

// A table's shown columns as aligned text, headed by its name.
void PrintTable(std::ostream& out, const std::string& name, const Table& table);
// The picks ledger as a table named PICKS.
void PrintPicks(std::ostream& out, const std::vector<Pick>& picks);

}  // namespace trotix
