#pragma once
#include <ostream>
#include <string>

#include "app/ports.h"
#include "table/table.h"

namespace trotix {

// A table's shown columns as aligned text, headed by its name.
void PrintTable(std::ostream& out, const std::string& name, const Table& table);

// The line --progress prints for a finished race: "best-rank 14/40 16:45 Lingfield: 1 row".
std::string ProgressLine(const RaceStep& step);

}  // namespace trotix
