#include "feeds/feeds.h"

#include "feeds/race_day.h"
#include "model/columns.h"
#include "net/vendor_urls.h"
#include "text/fields.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace trotix {

void LoadTips(Workspace& ws, std::string_view feed) {
  Table& tips = ws.TIPS;
  std::string work(feed);
  while (CutPastTag(work, "<horse>")) {
    const std::string course = TagValue(work, "course");
    const std::string name = TagValue(work, "name");
    const std::string time = TagValue(work, "time");
    const std::string place = TagValue(work, "place");
    bool listed = false;
    for (int r = 0; r < tips.RowCount() && !listed; ++r) listed = tips.Text(r, tips::kName) == name;
    if (listed) continue;
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
  std::string work(feed);
  while (CutPastTag(work, "<horse>")) {
    const std::string course = Trim(TagValue(work, "course"));
    const int move = IntegerOrZero(TagValue(work, "precent"));
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
  std::string work = Trim(answer);
  Table& rez = ws.REZ;
  rez.ClearRows();
  constexpr std::string_view kEnd = "<br>";
  for (auto pos = work.find(kEnd); pos != std::string::npos; pos = work.find(kEnd)) {
    const std::string line = Trim(std::string_view(work).substr(0, pos + 1));
    work.erase(0, pos + kEnd.size());
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
