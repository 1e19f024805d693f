#include "feeds/race_day.h"

#include "text/country.h"
#include "text/fields.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace trotix {
namespace {

// TAB columns written from the race card.
enum TabColumn {
  kNumber = 0,
  kName = 1,
  kTrainer = 3,
  kJockey = 4,
  kAgeWeight = 5,
  kForm = 6,
  kDays = 7,
  kOr = 21,
  kTs = 22,
  kRpr = 23,
  kOr2 = 24,
  kTs2 = 25,
  kRpr2 = 26,
  kRank = 27
};

constexpr int kTrainerMark = 2;
constexpr int kJockeyMark = 3;

}  // namespace

std::string CourseCountryOf(const std::vector<std::string>& courseTable, std::string_view course) {
  const std::string wanted = Upper(course);
  for (const auto& line : courseTable)
    if (Upper(GetField(line, 2)) == wanted) return GetField(line, 3);
  return {};
}

void SetFlagCell(Table& table, int row, const std::vector<std::string>& courseTable,
                 std::string_view course) {
  const std::string country = CourseCountryOf(courseTable, course);
  Cell& cell = table.At(row, 0);
  cell.image = CourseCountry(country);
  cell.hint = country;
}

void FillRaceLists(Workspace& ws) {
  std::string work = JoinLines(ws.DayData);
  while (CutPastTag(work, "<zabeg>")) {
    const std::string course = TagValue(work, "course");
    const std::string name = TagValue(work, "name");
    const std::string time = TagValue(work, "time");
    const std::string prize = ReplaceText(TagValue(work, "winner"), "BJ", "$");
    const std::string count = TagValue(work, "count");

    const int rt = ws.RT.AddRow();
    SetFlagCell(ws.RT, rt, ws.CourseTable, course);
    ws.RT.SetText(rt, 1, time);
    ws.RT.SetText(rt, 2, course);
    ws.RT.SetText(rt, 3, name);
    ws.RT.SetText(rt, 4, prize);
    ws.RT.SetText(rt, 5, count);

    const int nx = ws.NX.AddRow();
    ws.NX.At(nx, 0) = ws.RT.At(rt, 0);
    ws.NX.SetText(nx, 1, time);
    ws.NX.SetText(nx, 2, course);
    ws.NX.SetText(nx, 3, name);

    const int mm = ws.MM.AddRow();
    ws.MM.At(mm, 0) = ws.RT.At(rt, 0);
    ws.MM.SetText(mm, 1, time);
    ws.MM.SetText(mm, 2, course);
  }
}

void ParseRaceCard(Workspace& ws, const Table& raceList, int row) {
  Table& tab = ws.TAB;
  tab.ClearRows();
  const std::string time = raceList.Text(row, 1);
  const std::string course = raceList.Text(row, 2);

  const std::string day = JoinLines(ws.DayData);
  const std::string key = "<course>" + course + "</course><time>" + time + "</time>";
  std::size_t start = day.find(key);
  if (start == std::string::npos) start = 0;  // an unknown race shows the first race of the day
  std::string race;
  const std::size_t end = day.find("</zabeg>", start);
  race = end == std::string::npos ? day.substr(start) : day.substr(start, end - start + 1);

  ws.u1 = time;
  ws.u2 = "Course: " + course;
  ws.u3 = "Prize: $" + TagValue(race, "winner");
  ws.u4 = "Name: " + TagValue(race, "name");
  ws.u6 = "Distance: " + TagValue(race, "distance");
  ws.u7 = "Type: " + TagValue(race, "going") + "  " + TagValue(race, "class");

  long long sumOr = 0, sumTs = 0, sumRpr = 0;
  while (Contains(race, "<horse>")) {
    const std::string runner = TagValue(race, "horse");
    CutPastTag(race, "<horse>");
    const int r = tab.AddRow();
    tab.SetText(r, kNumber, TagValue(runner, "number"));
    tab.SetText(r, kName, ReplaceText(TagValue(runner, "name_horse"), "'", ""));
    tab.SetImage(r, kTrainer, kTrainerMark);
    tab.At(r, kTrainer).hint = TagValue(runner, "trainer");
    tab.SetImage(r, kJockey, kJockeyMark);
    tab.At(r, kJockey).hint = TagValue(runner, "jockey");
    tab.SetText(r, kAgeWeight, TagValue(runner, "age") + " " + TagValue(runner, "ves"));
    tab.SetText(r, kForm, TagValue(runner, "form"));
    tab.SetText(r, kDays, TagValue(runner, "days"));
    const int ratingOr = IntegerOrZero(TagValue(runner, "or"));
    const int ratingTs = IntegerOrZero(TagValue(runner, "ts"));
    const int ratingRpr = IntegerOrZero(TagValue(runner, "rpr"));
    tab.SetNumber(r, kOr, ratingOr);
    tab.SetNumber(r, kTs, ratingTs);
    tab.SetNumber(r, kRpr, ratingRpr);
    sumOr += ratingOr;
    sumTs += ratingTs;
    sumRpr += ratingRpr;
  }

  const int rows = tab.RowCount();
  ws.u5 = "Count: " + std::to_string(rows);
  if (rows == 0) return;

  const double meanOr = static_cast<double>(sumOr) / rows;
  const double meanTs = static_cast<double>(sumTs) / rows;
  const double meanRpr = static_cast<double>(sumRpr) / rows;
  int best = 0, bestRow = 0;
  for (int r = 0; r < rows; ++r) {
    const double dOr = tab.Number(r, kOr) - meanOr;
    const double dTs = tab.Number(r, kTs) - meanTs;
    const double dRpr = tab.Number(r, kRpr) - meanRpr;
    tab.SetNumber(r, kOr2, dOr);
    tab.SetNumber(r, kTs2, dTs);
    tab.SetNumber(r, kRpr2, dRpr);
    const int rank = RoundToInt(dOr + dTs + dRpr);
    tab.SetNumber(r, kRank, rank);
    if (rank > best) {
      best = rank;
      bestRow = r;
    }
  }
  tab.SetColor(bestRow, kRank, colors::kLime);
}

}  // namespace trotix
