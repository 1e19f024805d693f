#include "feeds/feeds.h"

#include "feeds/race_day.h"
#include "net/vendor_urls.h"
#include "text/fields.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace trotix {
namespace {
constexpr int kRezUrl = 11;
}  // namespace

void LoadTips(Workspace& ws, std::string_view feed) {
  Table& tips = ws.TIPS;
  std::string work(feed);
  while (CutPastTag(work, "<horse>")) {
    const std::string course = TagValue(work, "course");
    const std::string name = TagValue(work, "name");
    const std::string time = TagValue(work, "time");
    const std::string place = TagValue(work, "place");
    bool listed = false;
    for (int r = 0; r < tips.RowCount() && !listed; ++r) listed = tips.Text(r, 3) == name;
    if (listed) continue;
    const int r = tips.AddRow();
    SetFlagCell(tips, r, ws.CourseTable, course);
    tips.SetText(r, 1, time);
    tips.SetText(r, 2, course);
    tips.SetText(r, 3, name);
    tips.SetImage(r, 4, IntegerOrZero(place));
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
    lg.SetText(r, 1, TagValue(work, "time"));
    lg.SetText(r, 2, course);
    lg.SetText(r, 3, TagValue(work, "name"));
    lg.SetText(r, 4, TagValue(work, "kf1"));
    lg.SetText(r, 5, TagValue(work, "kf2"));
    lg.SetNumber(r, 6, move);
    if (move > 0) lg.SetColor(r, 6, colors::kLightRed);
    if (move < 0) lg.SetColor(r, 6, colors::kMoveGreen);
  }
}

void LoadResults(Workspace& ws, std::string_view answer) {
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
    rez.SetText(r, 1, GetField(line, 1));
    rez.SetText(r, 2, GetField(line, 2));
    rez.SetText(r, kRezUrl, GetField(line, 3));
    for (int f = 4; f <= 11; ++f) rez.SetText(r, f - 1, GetField(line, f));
  }
  rez.SortByColumn(1);
  ws.vizVisible = rez.RowCount() == 0;
}

std::optional<std::string> REZCellClick(const Workspace& ws, int col, int row) {
  if (col != kRezLinkColumn || row < 0 || row >= ws.REZ.RowCount()) return std::nullopt;
  std::string url = ws.REZ.Text(row, kRezUrl);
  if (!IsWebAddress(url)) return std::nullopt;
  return url;
}

}  // namespace trotix
