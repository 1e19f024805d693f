#include "exchange/indicator_races.h"

#include <unordered_set>

#include "feeds/race_day.h"
#include "model/columns.h"
#include "text/fields.h"

namespace trotix {

void RebuildIndicatorRaces(Workspace& ws) {
  ws.T1.ClearRows();
  std::vector<std::string> keys;
  std::unordered_set<std::string> seen;
  for (const auto& line : ws.IndicatorList) {
    std::string key = GetField(line, 1) + ">>" + GetField(line, 2) + ">>";
    if (seen.insert(key).second) keys.push_back(std::move(key));
  }
  for (const auto& key : keys) {
    const int row = ws.T1.AddRow();
    const std::string course = GetField(key, 2);
    SetFlagCell(ws.T1, row, ws.CourseTable, course);
    ws.T1.SetText(row, t1::kTime, GetField(key, 1));
    ws.T1.SetText(row, t1::kCourse, course);
  }
}

}  // namespace trotix
