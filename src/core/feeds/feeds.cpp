#include "feeds/feeds.h"

#include <array>
#include <unordered_set>

#include "feeds/race_day.h"
#include "model/columns.h"
#include "net/vendor_urls.h"
#include "text/fields.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace trotix {
namespace {

constexpr std::array<std::string_view, 4> kTipTags = {"course", "name", "time", "place"};
constexpr std::array<std::string_view, 6> kMoveTags = {"course", "precent", "time",
                                                       "name",   "kf1",     "kf2"};

}  // namespace

void LoadTips(Workspace& ws, std::string_view feed) {
  Table& tips = ws.TIPS;
  std::unordered_set<std::string> listed;
  for (int r = 0; r < tips.RowCount(); ++r) listed.insert(tips.Text(r, tips::kName));
  TagRecords records(feed, "horse");
  while (const auto tip = records.Next()) {
    const auto [courseTag, nameTag, time, place] = TagViews(*tip, kTipTags);
    const std::string course(courseTag), name(nameTag);
    if (!listed.insert(name).second) continue;
    const int r = tips.AddRow();
    SetFlagCell(tips, r, ws.CourseTable, course);
    tips.SetText(r, tips::kTime, std::string(time));
    tips.SetText(r, tips::kCourse, course);
    tips.SetText(r, tips::kName, name);
    tips.SetImage(r, tips::kPlace, IntegerOrZero(place));
  }
}

void LoadMoves(Workspace& ws, std::string_view feed) {
  Table& lg = ws.LG;
  TagRecords records(feed, "horse");
  while (const auto record = records.Next()) {
    const auto [courseTag, precent, time, name, kf1, kf2] = TagViews(*record, kMoveTags);
    const std::string course = Trim(courseTag);
    const int move = IntegerOrZero(precent);
    const int r = lg.AddRow();
    SetFlagCell(lg, r, ws.CourseTable, course);
    lg.SetText(r, lg::kTime, std::string(time));
    lg.SetText(r, lg::kCourse, course);
    lg.SetText(r, lg::kName, std::string(name));
    lg.SetText(r, lg::kLastPrice, std::string(kf1));
    lg.SetText(r, lg::kFirstShow, std::string(kf2));
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
