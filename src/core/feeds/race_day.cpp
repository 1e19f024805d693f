#include "feeds/race_day.h"

#include "model/columns.h"
#include "model/country.h"
#include "text/fields.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace trotix {
namespace {

// The vendor writes prizes as "BJ" and the amount; the lists and the header show "$".
std::string PrizeText(const std::string& winner) {
  return ReplaceText(winner, "BJ", "$");
}

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
  Cell& cell = table.At(row, race_list::kFlag);
  cell.image = CourseCountry(country);
  cell.hint = country;
}

void FillRaceLists(Workspace& ws) {
  std::string work = JoinLines(ws.DayData);
  while (CutPastTag(work, "<zabeg>")) {
    const std::string course = TagValue(work, "course");
    const std::string name = TagValue(work, "name");
    const std::string time = TagValue(work, "time");
    const std::string prize = PrizeText(TagValue(work, "winner"));
    const std::string count = TagValue(work, "count");

    const int rt = ws.RT.AddRow();
    SetFlagCell(ws.RT, rt, ws.CourseTable, course);
    ws.RT.SetText(rt, rt::kTime, time);
    ws.RT.SetText(rt, rt::kCourse, course);
    ws.RT.SetText(rt, rt::kName, name);
    ws.RT.SetText(rt, rt::kPrize, prize);
    ws.RT.SetText(rt, rt::kRunners, count);

    const int nx = ws.NX.AddRow();
    ws.NX.At(nx, nx::kFlag) = ws.RT.At(rt, rt::kFlag);
    ws.NX.SetText(nx, nx::kTime, time);
    ws.NX.SetText(nx, nx::kCourse, course);
    ws.NX.SetText(nx, nx::kName, name);

    const int mm = ws.MM.AddRow();
    ws.MM.At(mm, mm::kFlag) = ws.RT.At(rt, rt::kFlag);
    ws.MM.SetText(mm, mm::kTime, time);
    ws.MM.SetText(mm, mm::kCourse, course);
  }
}

void ParseRaceCard(Workspace& ws, const Table& raceList, int row) {
  Table& card = ws.TAB;
  card.ClearRows();
  const std::string time = raceList.Text(row, race_list::kTime);
  const std::string course = raceList.Text(row, race_list::kCourse);

  const std::string day = JoinLines(ws.DayData);
  const std::string key = "<course>" + course + "</course><time>" + time + "</time>";
  std::size_t start = day.find(key);
  if (start == std::string::npos) start = 0;  // an unknown race shows the first race of the day
  std::string race;
  const std::size_t end = day.find("</zabeg>", start);
  race = end == std::string::npos ? day.substr(start) : day.substr(start, end - start + 1);

  ws.u1 = time;
  ws.u2 = "Course: " + course;
  ws.u3 = "Prize: " + PrizeText(TagValue(race, "winner"));
  ws.u4 = "Name: " + TagValue(race, "name");
  ws.u6 = "Distance: " + TagValue(race, "distance");
  ws.u7 = "Type: " + TagValue(race, "going") + "  " + TagValue(race, "class");

  long long sumOr = 0, sumTs = 0, sumRpr = 0;
  while (Contains(race, "<horse>")) {
    const std::string runner = TagValue(race, "horse");
    CutPastTag(race, "<horse>");
    const int r = card.AddRow();
    card.SetText(r, tab::kNumber, TagValue(runner, "number"));
    card.SetText(r, tab::kName, ReplaceText(TagValue(runner, "name_horse"), "'", ""));
    card.SetImage(r, tab::kTrainer, picture::kTrainerMark);
    card.At(r, tab::kTrainer).hint = TagValue(runner, "trainer");
    card.SetImage(r, tab::kJockey, picture::kJockeyMark);
    card.At(r, tab::kJockey).hint = TagValue(runner, "jockey");
    card.SetText(r, tab::kAgeWeight, TagValue(runner, "age") + " " + TagValue(runner, "ves"));
    card.SetText(r, tab::kForm, TagValue(runner, "form"));
    card.SetText(r, tab::kDays, TagValue(runner, "days"));
    const int ratingOr = IntegerOrZero(TagValue(runner, "or"));
    const int ratingTs = IntegerOrZero(TagValue(runner, "ts"));
    const int ratingRpr = IntegerOrZero(TagValue(runner, "rpr"));
    card.SetNumber(r, tab::kOr, ratingOr);
    card.SetNumber(r, tab::kTs, ratingTs);
    card.SetNumber(r, tab::kRpr, ratingRpr);
    sumOr += ratingOr;
    sumTs += ratingTs;
    sumRpr += ratingRpr;
  }

  const int rows = card.RowCount();
  ws.u5 = "Count: " + std::to_string(rows);
  if (rows == 0) return;

  const double meanOr = static_cast<double>(sumOr) / rows;
  const double meanTs = static_cast<double>(sumTs) / rows;
  const double meanRpr = static_cast<double>(sumRpr) / rows;
  int best = 0, bestRow = 0;
  for (int r = 0; r < rows; ++r) {
    const double dOr = card.Number(r, tab::kOr) - meanOr;
    const double dTs = card.Number(r, tab::kTs) - meanTs;
    const double dRpr = card.Number(r, tab::kRpr) - meanRpr;
    card.SetNumber(r, tab::kOrDeviation, dOr);
    card.SetNumber(r, tab::kTsDeviation, dTs);
    card.SetNumber(r, tab::kRprDeviation, dRpr);
    const int rank = RoundToInt(dOr + dTs + dRpr);
    card.SetNumber(r, tab::kRank, rank);
    if (rank > best) {
      best = rank;
      bestRow = r;
    }
  }
  card.SetColor(bestRow, tab::kRank, colors::kLime);
}

}  // namespace trotix
