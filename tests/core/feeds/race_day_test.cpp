#include "feeds/race_day.h"

#include <gtest/gtest.h>

#include "text/strings.h"

namespace trotix {
namespace {

std::string Runner(const std::string& number, const std::string& name, const std::string& ratings) {
  return "<horse><number>" + number + "</number><name_horse>" + name +
         "</name_horse><trainer>T Trainer</trainer><jockey>J Jockey</jockey><age>4</age>"
         "<ves>9-2</ves><form>1-23</form><days>12</days>" +
         ratings + "</horse>\n";
}

std::string Race(const std::string& course, const std::string& time, const std::string& runners,
                 const std::string& name = "Maiden Stakes") {
  return "<zabeg><course>" + course + "</course><time>" + time + "</time><name>" + name +
         "</name><winner>BJ5000</winner><count>3</count><distance>1m2f</distance>"
         "<going>Good</going><class>Class 5</class>\n" +
         runners + "</zabeg>\n";
}

Workspace DayOf(const std::string& text) {
  Workspace ws;
  ws.DayData = SplitLines(text);
  ws.CourseTable = {"Ascot>>ASCOT>>England>>", "Leo>>leopardstown>>Ireland>>"};
  FillRaceLists(ws);
  return ws;
}

TEST(CourseCountryOf, MatchesCourseWhateverItsLetterCase) {
  const std::vector<std::string> table = {"alt>>Ascot>>England>>", "x>>Sha Tin>>Hong Kong>>"};
  EXPECT_EQ(CourseCountryOf(table, "ASCOT"), "England");
  EXPECT_EQ(CourseCountryOf(table, "sha tin"), "Hong Kong");
  EXPECT_EQ(CourseCountryOf(table, " Ascot"), "");  // no trimming
  EXPECT_EQ(CourseCountryOf({}, "Ascot"), "");
}

TEST(FillRaceLists, OneRowPerRaceInAllThreeLists) {
  Workspace ws = DayOf("header\n" + Race("Ascot", "13:30", Runner("1", "A", "")) +
                       Race("Leopardstown", "13:30", Runner("1", "B", "")));
  ASSERT_EQ(ws.RT.RowCount(), 2);
  ASSERT_EQ(ws.NX.RowCount(), 2);
  ASSERT_EQ(ws.MM.RowCount(), 2);
  EXPECT_EQ(ws.RT.Text(0, 1), "13:30");
  EXPECT_EQ(ws.RT.Text(1, 2), "Leopardstown");
  EXPECT_EQ(ws.RT.Text(0, 3), "Maiden Stakes");
  EXPECT_EQ(ws.RT.Text(0, 4), "$5000");  // "BJ" is the currency mark
  EXPECT_EQ(ws.RT.Text(0, 5), "3");
  EXPECT_EQ(ws.RT.Image(0, 0), 1);  // England
  EXPECT_EQ(ws.RT.At(0, 0).hint, "England");
  EXPECT_EQ(ws.MM.Image(1, 0), 2);  // Ireland, course found whatever its letter case
  EXPECT_EQ(ws.NX.Text(1, 3), "Maiden Stakes");
}

TEST(FillRaceLists, EmptyDayLeavesListsEmpty) {
  Workspace ws = DayOf("");
  EXPECT_EQ(ws.RT.RowCount(), 0);
}

// Each race's row and card as one line: "time|course|name|prize|count u3 u4 u5 runners".
std::vector<std::string> RacesAndCards(const std::string& day) {
  Workspace ws = DayOf(day);
  std::vector<std::string> out;
  for (int r = 0; r < ws.RT.RowCount(); ++r) {
    std::string line;
    for (int c = 1; c <= 5; ++c) line += ws.RT.Text(r, c) + (c < 5 ? "|" : "");
    ParseRaceCard(ws, ws.RT, r);
    line += " " + ws.u3 + " " + ws.u4 + " " + ws.u5;
    for (int k = 0; k < ws.TAB.RowCount(); ++k) line += " [" + ws.TAB.Text(k, 1) + "]";
    out.push_back(line);
  }
  return out;
}

TEST(RaceDay, AFieldIsReadFromItsOwnRecordOnly) {
  const std::string full = Race("Leo", "14:00", Runner("1", "Next", ""), "Next Race");
  struct Case {
    const char* name;
    std::string day;
    std::vector<std::string> races;
  };
  const Case cases[] = {
      {"race without prize and count",
       "<zabeg><course>Ascot</course><time>13:30</time><name>Bare</name>" + Runner("1", "A", "") +
           "</zabeg>" + full,
       {"13:30|Ascot|Bare|| Prize:  Name: Bare Count: 1 [A]",
        "14:00|Leo|Next Race|$5000|3 Prize: $5000 Name: Next Race Count: 1 [Next]"}},
      {"name before the course",
       "<zabeg><name>First</name><course>Ascot</course><time>13:30</time></zabeg>" + full,
       {"13:30|Ascot|First|| Prize:  Name: First Count: 0",
        "14:00|Leo|Next Race|$5000|3 Prize: $5000 Name: Next Race Count: 1 [Next]"}},
      {"answer cut inside the last race",
       full + "<zabeg><course>Ascot</course><time>15:00</time><horse><number>1",
       {"14:00|Leo|Next Race|$5000|3 Prize: $5000 Name: Next Race Count: 1 [Next]"}},
      {"runner record never closed",
       "<zabeg><course>Ascot</course><time>13:30</time>" + Runner("1", "A", "") +
           "<horse><number>2</number><name_horse>Cut</name_horse>\n</zabeg>",
       {"13:30|Ascot||| Prize:  Name:  Count: 1 [A]"}},
      {"race never closed before the next",
       "<zabeg><course>Ascot</course>" + full,
       {"14:00|Leo|Next Race|$5000|3 Prize: $5000 Name: Next Race Count: 1 [Next]"}},
  };
  for (const auto& c : cases) EXPECT_EQ(RacesAndCards(c.day), c.races) << c.name;
}

TEST(ParseRaceCard, EachRaceShowsItsOwnRunnersAndLabels) {
  Workspace ws = DayOf(Race("Ascot", "13:30", Runner("1", "Ascot Horse", "")) +
                       Race("Leopardstown", "13:30",
                            Runner("1", "O'Brien's Pride", "") + Runner("NR", "Second", "")));
  ParseRaceCard(ws, ws.MM, 1);
  ASSERT_EQ(ws.TAB.RowCount(), 2);
  EXPECT_EQ(ws.TAB.Text(0, 1), "OBriens Pride");  // apostrophes removed
  EXPECT_EQ(ws.TAB.Text(1, 0), "NR");
  EXPECT_EQ(ws.TAB.Text(0, 5), "4 9-2");
  EXPECT_EQ(ws.TAB.Text(0, 6), "1-23");
  EXPECT_EQ(ws.TAB.At(0, 3).hint, "T Trainer");
  EXPECT_EQ(ws.TAB.At(0, 4).hint, "J Jockey");
  EXPECT_EQ(ws.u1, "13:30");
  EXPECT_EQ(ws.u2, "Course: Leopardstown");
  EXPECT_EQ(ws.u3, "Prize: $5000");  // "BJ" reads "$", as in the race lists
  EXPECT_EQ(ws.u4, "Name: Maiden Stakes");
  EXPECT_EQ(ws.u5, "Count: 2");
  EXPECT_EQ(ws.u6, "Distance: 1m2f");
  EXPECT_EQ(ws.u7, "Type: Good  Class 5");
  ParseRaceCard(ws, ws.MM, 0);
  ASSERT_EQ(ws.TAB.RowCount(), 1);
  EXPECT_EQ(ws.TAB.Text(0, 1), "Ascot Horse");
}

TEST(ParseRaceCard, RanksFromDeviationsWithLimeLeader) {
  struct Case {
    std::vector<std::string> ratings;
    std::vector<double> ranks;
    int lime;
  };
  const Case cases[] = {
      {{"<or>80</or>", "<or>90</or>", "<or>100</or>"}, {-10, 0, 10}, 2},
      // Non-numeric and missing ratings count as 0.
      {{"<or>80</or><ts>x</ts>", "<or>90</or>", "<or>100</or><rpr></rpr>"}, {-10, 0, 10}, 2},
      // All equal: the first row is lime.
      {{"<or>50</or>", "<or>50</or>"}, {0, 0}, 0},
      {{"<or>4</or><ts>0</ts><rpr>4</rpr>", "<or>-1</or><ts>0</ts><rpr>-1</rpr>"}, {5, -5}, 0},
      // Deviations of 1.5 and -1.5 go to the even neighbours 2 and -2.
      {{"<or>3</or><ts>0</ts><rpr>0</rpr>", "<or>0</or><ts>0</ts><rpr>0</rpr>"}, {2, -2}, 0},
      {{"<or>7</or>", "<or>0</or>"}, {4, -4}, 0},  // 3.5 -> 4
  };
  for (const auto& c : cases) {
    std::string runners;
    for (const auto& r : c.ratings) runners += Runner("1", "H", r);
    Workspace ws = DayOf(Race("Ascot", "14:00", runners));
    ParseRaceCard(ws, ws.RT, 0);
    ASSERT_EQ(ws.TAB.RowCount(), static_cast<int>(c.ranks.size()));
    for (int r = 0; r < ws.TAB.RowCount(); ++r) {
      EXPECT_EQ(ws.TAB.Number(r, 27), c.ranks[r]) << c.ratings[r];
      EXPECT_EQ(ws.TAB.At(r, 27).color.has_value(), r == c.lime) << c.ratings[r];
    }
    EXPECT_EQ(ws.TAB.ColorOf(c.lime, 27), colors::kLime);
  }
}

TEST(ParseRaceCard, MeansAndDeviations) {
  Workspace ws = DayOf(Race("Ascot", "14:00",
                            Runner("1", "A", "<or>80</or>") + Runner("2", "B", "<or>90</or>") +
                                Runner("3", "C", "<or>100</or><rpr>30</rpr>")));
  ParseRaceCard(ws, ws.RT, 0);
  EXPECT_EQ(ws.TAB.Number(0, 24), -10);
  EXPECT_EQ(ws.TAB.Number(2, 26), 20);
  EXPECT_EQ(ws.TAB.Number(0, 26), -10);
  EXPECT_EQ(ws.TAB.Number(2, 21), 100);
}

TEST(ParseRaceCard, UnknownRaceShowsFirstRaceAndEmptyRaceShowsNoRunners) {
  Workspace ws =
      DayOf(Race("Ascot", "13:30", Runner("1", "First", "")) + Race("Ascot", "15:00", ""));
  Table other = ws.MM;
  other.SetText(0, 1, "09:99");
  ParseRaceCard(ws, other, 0);
  ASSERT_EQ(ws.TAB.RowCount(), 1);
  EXPECT_EQ(ws.TAB.Text(0, 1), "First");
  ParseRaceCard(ws, ws.MM, 1);
  EXPECT_EQ(ws.TAB.RowCount(), 0);
  EXPECT_EQ(ws.u5, "Count: 0");
}

}  // namespace
}  // namespace trotix
