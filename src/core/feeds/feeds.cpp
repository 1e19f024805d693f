#include "feeds/feeds.h"

#include <unordered_set>

#include "feeds/race_day.h"
#include "model/columns.h"
#include "net/vendor_urls.h"
#include "text/fields.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace trotix {

void LoadTips(Workspace& ws, std::string_view feed) {
  Table& tips = ws.TIPS;
  std::unordered_set<std::string> listed;
  for (int r = 0; r < tips.RowCount(); ++r) listed.insert(tips.Text(r, tips::kName));
  TagRecords records(feed, "horse");
  while (const auto tip = records.Next()) {
    const std::string course = TagValue(*tip, "course");
    const std::string name = TagValue(*tip, "name");
    const std::string time = TagValue(*tip, "time");
    const std::string place = TagValue(*tip, "place");
    if (!listed.insert(name).second) continue;
    const int r = tips.AddRow();
    SetFlagCell(tips, r, ws.CourseTable, course);
    tips.SetText(r, tips::kTime, time);
    tips.SetText(r, tips::kCourse, course);
    tips.SetText(r, tips::kName, name);
    tips.SetImage(r, tips::kPlace, IntegerOrZero(place));
  }
}

void LoadMoves(Workspace& ws, std::string_view feed) {
  Table& lg = ws.LG;
  TagRecords records(feed, "horse");
  while (const auto record = records.Next()) {
    const std::string_view work = *record;
    const std::string course = Trim(TagView(work, "course"));
    const int move = IntegerOrZero(TagView(work, "precent"));
    const int r = lg.AddRow();
    SetFlagCell(lg, r, ws.CourseTable, course);
    lg.SetText(r, lg::kTime, TagValue(work, "time"));
    lg.SetText(r, lg::kCourse, course);
    lg.SetText(r, lg::kName, TagValue(work, "name"));
    lg.SetText(r, lg::kLastPrice, TagValue(work, "kf1"));
    lg.SetText(r, lg::kFirstShow, TagValue(work, "kf2"));
    lg.SetNumber(r, lg::kMove, move);
    if (move > 0) lg.SetColor(r, lg::kMove, colors::kLightRed);
    if (move < 0) lg.SetColor(r, lg::kMove, colors::kMoveGreen);
  }
}

bool LoadResults(Workspace& ws, std::string_view answer) {
  if (const auto close = answer.find(')'); close != std::string_view::npos)
    answer.remove_prefix(close + 1);
  const std::string work = Trim(answer);
  Table& rez = ws.REZ;
  rez.ClearRows();
  constexpr std::string_view kEnd = "<br>";
  std::size_t from = 0;
  for (auto pos = work.find(kEnd); pos != std::string::npos; pos = work.find(kEnd, from)) {
    // The line keeps the "<" of its "<br>", after its last field.
    const std::string line = Trim(std::string_view(work).substr(from, pos + 1 - from));
    from = pos + kEnd.size();
    const int r = rez.AddRow();
    SetFlagCell(rez, r, ws.CourseTable, GetField(line, 2));
    rez.SetText(r, rez::kTime, GetField(line, 1));
    rez.SetText(r, rez::kCourse, GetField(line, 2));
    rez.SetText(r, rez::kUrl, GetField(line, 3));
    // Fields 4-11: the first four, each with its price.
    for (int f = 4; f <= 11; ++f) rez.SetText(r, rez::kNumber1 + (f - 4), GetField(line, f));
  }
  rez.SortByColumn(rez::kTime);
  return rez.RowCount() > 0;
}

std::optional<std::string> ResultLink(const Workspace& ws, int row) {
  if (row < 0 || row >= ws.REZ.RowCount()) return std::nullopt;
  std::string url = ws.REZ.Text(row, rez::kUrl);
  if (!IsWebAddress(url)) return std::nullopt;
  return url;
}

}  // namespace trotix
