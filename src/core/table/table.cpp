#include "table/table.h"

#include <algorithm>
#include <stdexcept>

#include "text/numbers.h"

namespace trotix {

int Table::AddRow() {
  rows_.emplace_back(columns_->size());
  return RowCount() - 1;
}

void Table::SetRowCount(int n) {
  rows_.resize(std::max(n, 0), std::vector<Cell>(columns_->size()));
}

void Table::DeleteRow(int row) {
  if (row < 0 || row >= RowCount()) throw std::out_of_range("no such row");
  rows_.erase(rows_.begin() + row);
}

std::string Table::Text(int row, int col) const {
  const Cell& c = At(row, col);
  switch (columns_->at(col).kind) {
    case ColumnKind::Number:
      return FormatGeneral(c.value);
    case ColumnKind::Image:
      return {};
    case ColumnKind::Text:
      break;
  }
  return c.text;
}

void Table::SetText(int row, int col, std::string text) {
  Cell& c = At(row, col);
  if (columns_->at(col).kind == ColumnKind::Number) {
    c.value = ParseDecimal(text).value_or(0);
  } else {
    c.text = std::move(text);
  }
}

int Table::Integer(int row, int col) const {
  return RoundToInt(At(row, col).value);
}

void Table::SortByColumn(int col) {
  if (columns_->at(col).kind == ColumnKind::Number) {
    std::stable_sort(rows_.begin(), rows_.end(),
                     [col](const auto& a, const auto& b) { return a[col].value < b[col].value; });
  } else {
    std::stable_sort(rows_.begin(), rows_.end(),
                     [col](const auto& a, const auto& b) { return a[col].text < b[col].text; });
  }
}

}  // namespace trotix
