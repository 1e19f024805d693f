#include "feeds/race_day.h"

#include <array>

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

namespace {

constexpr std::array<std::string_view, 2> kKeyTags = {"course", "time"};
constexpr std::array<std::string_view, 5> kListTags = {"course", "name", "time", "winner", "count"};
constexpr std::array<std::string_view, 5> kCardTags = {"winner", "name", "distance", "going",
                                                       "class"};
constexpr std::array<std::string_view, 11> kRunnerTags = {
    "number", "name_horse", "trainer", "jockey", "age", "ves", "form", "days", "or", "ts", "rpr"};

void IndexDay(Workspace& ws) {
  DayIndex& day = ws.DayRaces;
  day = {};
  day.lines = ws.DayData.size();
  day.text = JoinLines(ws.DayData);
  TagRecords races(day.text, "zabeg");
  while (const auto body = races.Next()) {
    const std::size_t index = day.races.size();
    day.races.push_back({static_cast<std::size_t>(body->data() - day.text.data()), body->size()});
    const auto [course, time] = TagViews(*body, kKeyTags);
    day.byCourseAndTime.try_emplace({std::string(course), std::string(time)}, index);
  }
}

std::string_view RaceBody(const DayIndex& day, std::size_t index) {
  const DayIndex::Span& span = day.races[index];
  return std::string_view(day.text).substr(span.offset, span.size);
}

}  // namespace

void FillRaceLists(Workspace& ws) {
  IndexDay(ws);
  for (std::size_t i = 0; i < ws.DayRaces.races.size(); ++i) {
    const auto [courseTag, nameTag, timeTag, winner, count] =
        TagViews(RaceBody(ws.DayRaces, i), kListTags);
    const std::string course(courseTag), name(nameTag), time(timeTag);
    const std::string prize = PrizeText(std::string(winner));

    const int rt = ws.RT.AddRow();
    SetFlagCell(ws.RT, rt, ws.CourseTable, course);
    ws.RT.SetText(rt, rt::kTime, time);
    ws.RT.SetText(rt, rt::kCourse, course);
    ws.RT.SetText(rt, rt::kName, name);
    ws.RT.SetText(rt, rt::kPrize, prize);
    ws.RT.SetText(rt, rt::kRunners, std::string(count));

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

  if (ws.DayRaces.lines != ws.DayData.size()) IndexDay(ws);
  const DayIndex& day = ws.DayRaces;
  std::string_view race;
  if (!day.races.empty()) {
    const auto found = day.byCourseAndTime.find({course, time});
    // An unknown race shows the first race of the day.
    race = RaceBody(day, found == day.byCourseAndTime.end() ? 0 : found->second);
  }

  const auto [winner, name, distance, going, raceClass] = TagViews(race, kCardTags);
  ws.u1 = time;
  ws.u2 = "Course: " + course;
  ws.u3 = "Prize: " + PrizeText(std::string(winner));
  ws.u4 = "Name: " + std::string(name);
  ws.u6 = "Distance: " + std::string(distance);
  ws.u7 = "Type: " + std::string(going) + "  " + std::string(raceClass);

  long long sumOr = 0, sumTs = 0, sumRpr = 0;
  TagRecords runners(race, "horse");
  while (const auto runner = runners.Next()) {
    const auto [number, horse, trainer, jockey, age, weight, form, days, ratingOrText, ratingTsText,
                ratingRprText] = TagViews(*runner, kRunnerTags);
    const int r = card.AddRow();
    card.SetText(r, tab::kNumber, std::string(number));
    card.SetText(r, tab::kName, ReplaceText(std::string(horse), "'", ""));
    card.SetImage(r, tab::kTrainer, picture::kTrainerMark);
    card.At(r, tab::kTrainer).hint = trainer;
    card.SetImage(r, tab::kJockey, picture::kJockeyMark);
    card.At(r, tab::kJockey).hint = jockey;
    card.SetText(r, tab::kAgeWeight, std::string(age) + " " + std::string(weight));
    card.SetText(r, tab::kForm, std::string(form));
    card.SetText(r, tab::kDays, std::string(days));
    const int ratingOr = IntegerOrZero(ratingOrText);
    const int ratingTs = IntegerOrZero(ratingTsText);
    const int ratingRpr = IntegerOrZero(ratingRprText);
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
