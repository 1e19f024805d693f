#pragma once
#include <ostream>
#include <string>

#include "table/table.h"

namespace trotix {

// A table's shown columns as aligned text, headed by its name.
void PrintTable(std::ostream& out, const std::string& name, const Table& table);

}  // namespace trotix
