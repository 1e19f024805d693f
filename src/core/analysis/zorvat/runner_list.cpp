#include "analysis/zorvat/runner_list.h"

#include <algorithm>

#include "model/columns.h"

namespace trotix {
namespace {

// Collation weight of one byte: punctuation and spaces, then digits, then letters (upper and
// lower alike), then every byte beyond ASCII.
int Weight(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if (c >= '0' && c <= '9') return 0x100 + c;
  if (c >= 'a' && c <= 'z') return 0x200 + (c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return 0x200 + c;
  if (c >= 0x80) return 0x300 + c;
  return c;
}

}  // namespace

bool RunnerItemLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Weight(x) < Weight(y); });
}

std::vector<std::string> SortedRunnerList(const Table& raceCard) {
  std::vector<std::string> items;
  items.reserve(raceCard.RowCount());
  for (int row = 0; row < raceCard.RowCount(); ++row)
    items.push_back(raceCard.Text(row, tab::kNumber) + ">>" + raceCard.Text(row, tab::kName) +
                    ">>1>>");
  std::stable_sort(items.begin(), items.end(),
                   [](const std::string& a, const std::string& b) { return RunnerItemLess(a, b); });
  return items;
}

}  // namespace trotix
