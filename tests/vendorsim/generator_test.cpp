#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "model/country.h"
#include "text/fields.h"
#include "text/numbers.h"
#include "text/strings.h"
#include "vendorsim/content.h"
#include "vendorsim/formats.h"
#include "vendorsim/generator.h"
#include "vendorsim/runner_page_reader.h"
#include "vendorsim/zorvat_files.h"

namespace trotix::vendorsim {
namespace {

const Date kDate{2024, 3, 5};

struct Files {
  std::string day, tips, moves, results, indicator;
};

Files Render(const Day& d) {
  return {DayDataText(d), TipsText(d), MovesText(d), ResultsText(d, "http://h"), IndicatorText(d)};
}

// Every record of a feed, opened by `tag`, cut off the way the loaders walk them.
std::vector<std::string> Records(std::string text, std::string_view tag) {
  std::vector<std::string> out;
  while (CutPastTag(text, tag)) out.push_back(text);
  return out;
}

int Terminators(std::string_view line) {
  int n = 0;
  for (auto p = line.find(">>"); p != std::string_view::npos; p = line.find(">>", p + 2)) ++n;
  return n;
}

std::set<std::string> RaceDayNames(const std::string& dayText) {
  std::set<std::string> names;
  for (const std::string& rec : Records(dayText, "<horse>"))
    names.insert(TagValue(rec, "name_horse"));
  return names;
}

TEST(Generator, SameSeedAndDateGiveTheSameBytes) {
  const Files a = Render(GenerateDay(7, kDate, 40));
  const Files b = Render(GenerateDay(7, kDate, 40));
  EXPECT_EQ(a.day, b.day);
  EXPECT_EQ(a.tips, b.tips);
  EXPECT_EQ(a.moves, b.moves);
  EXPECT_EQ(a.results, b.results);
  EXPECT_EQ(a.indicator, b.indicator);
  EXPECT_EQ(ProcessBaseText(7), ProcessBaseText(7));
  EXPECT_EQ(ScoreBaseText(7), ScoreBaseText(7));
  EXPECT_EQ(DayValuesText(7), DayValuesText(7));
}

// Padded runner pages are the plain page, then a comment up to the size asked: the same bytes
// each time, read as the plain page, and a size below the page's own leaves it as it is.
TEST(Generator, PaddedRunnerPagesKeepTheirFiguresAndSize) {
  ContentOptions options;
  options.date = kDate;
  const SimContent plain(options);
  const Race* race = nullptr;
  for (const Race& r : plain.day().races)
    if (r.onExchange() && race == nullptr) race = &r;
  ASSERT_NE(race, nullptr);
  const QueryParams page = {{"marketId", race->winMarket},
                            {"selectionId", race->runners.front().selectionId}};
  const std::string path = "/betting/LoadRunnerInfoAction.do";
  const std::string original = plain.Get(path, page).body;
  for (const std::size_t size : {std::size_t{1} << 20, original.size() + 20, std::size_t{10}}) {
    SCOPED_TRACE(size);
    options.padRunnerPages = size;
    const SimContent padded(options);
    const std::string body = padded.Get(path, page).body;
    EXPECT_EQ(body, padded.Get(path, page).body);
    EXPECT_EQ(body, SimContent(options).Get(path, page).body);
    EXPECT_EQ(body.size(), std::max(size, original.size()));
    EXPECT_EQ(body.substr(0, original.size()), original);
    if (size > original.size()) {
      EXPECT_TRUE(body.ends_with(" -->\n"));
    }
    const auto read = testing::ReadRunnerPage(body);
    EXPECT_EQ(read.values, testing::ReadRunnerPage(original).values);
  }
}

TEST(Generator, AnotherSeedOrDateGivesAnotherDay) {
  const std::string base = DayDataText(GenerateDay(7, kDate, 40));
  EXPECT_NE(base, DayDataText(GenerateDay(8, kDate, 40)));
  EXPECT_NE(base, DayDataText(GenerateDay(7, AddDays(kDate, 1), 40)));
  EXPECT_NE(ProcessBaseText(7), ProcessBaseText(8));
  EXPECT_NE(IndicatorText(GenerateDay(7, kDate, 40)), IndicatorText(GenerateDay(8, kDate, 40)));
}

TEST(CourseTable, ListsEveryCountryWithThreeFields) {
  std::set<std::string> countries;
  for (const std::string& line : SplitLines(CourseTableText())) {
    ASSERT_EQ(Terminators(line), 3) << line;
    EXPECT_FALSE(GetField(line, 2).empty());
    countries.insert(GetField(line, 3));
  }
  for (const char* c : {"England", "Ireland", "France", "UAE", "India", "South Africa", "USA",
                        "Australia", "Hong Kong"})
    EXPECT_TRUE(countries.count(c)) << c;
  const int others =
      static_cast<int>(std::count_if(countries.begin(), countries.end(),
                                     [](auto& c) { return CourseCountry(c) == 0 && c != "USA"; }));
  EXPECT_GE(others, 2);
}

class RaceDay : public ::testing::TestWithParam<uint64_t> {};

TEST_P(RaceDay, RaceBlocksCarryEveryTagAndTheirRunners) {
  const Day d = GenerateDay(GetParam(), kDate, 40);
  const std::string text = DayDataText(d);
  const std::string courseTable = CourseTableText();
  std::set<std::string> keys;
  std::map<std::string, std::set<std::string>> coursesAtTime;
  int races = 0, nonRunners = 0, runners = 0, oddRatings = 0, missingRatings = 0, apostrophes = 0;
  std::set<char> formChars;
  std::string rest = text;
  while (CutPastTag(rest, "<zabeg>")) {
    ++races;
    const std::string block = rest.substr(0, rest.find("</zabeg>"));
    const std::string course = TagValue(block, "course"), time = TagValue(block, "time");
    const std::string key = "<course>" + course + "</course><time>" + time + "</time>";
    ASSERT_NE(block.find(key), std::string::npos) << "course and time must stand together";
    EXPECT_TRUE(keys.insert(key).second) << key;
    coursesAtTime[time].insert(course);
    // Every course is in the course table, compared upper-cased as the look-up does.
    bool listed = false;
    for (const std::string& line : SplitLines(courseTable))
      listed = listed || Upper(GetField(line, 2)) == Upper(course);
    EXPECT_TRUE(listed) << course;
    EXPECT_EQ(TagValue(block, "winner").rfind("BJ", 0), 0u);
    for (const char* tag : {"name", "distance", "going", "class"})
      EXPECT_FALSE(TagValue(block, tag).empty()) << tag;
    const std::vector<std::string> horses = Records(block, "<horse>");
    EXPECT_EQ(IntegerOrZero(TagValue(block, "count")), static_cast<int>(horses.size()));
    EXPECT_GE(horses.size(), 2u);
    EXPECT_LE(horses.size(), 20u);
    for (const std::string& h : horses) {
      // The record starts right after the cut opening tag and runs to its closing tag.
      const std::string runner = h.substr(h.find('>') + 1, h.find("</horse>") - h.find('>') - 1);
      ++runners;
      if (TagValue(runner, "number") == "NR") ++nonRunners;
      const std::string name = TagValue(runner, "name_horse");
      EXPECT_FALSE(name.empty());
      if (name.find('\'') != std::string::npos) ++apostrophes;
      for (const char* tag : {"trainer", "jockey", "age", "ves"})
        EXPECT_FALSE(TagValue(runner, tag).empty()) << tag;
      for (char c : TagValue(runner, "form")) formChars.insert(c);
      for (const char* tag : {"or", "ts", "rpr"}) {
        if (runner.find(std::string("<") + tag + ">") == std::string::npos)
          ++missingRatings;
        else if (!ParseInteger(TagValue(runner, tag)))
          ++oddRatings;
      }
    }
  }
  EXPECT_EQ(races, 40);
  EXPECT_EQ(races, static_cast<int>(d.races.size()));
  EXPECT_GT(nonRunners, 0);
  EXPECT_GT(oddRatings, 0);
  EXPECT_GT(missingRatings, 0);
  EXPECT_GT(apostrophes, 0);
  EXPECT_TRUE(formChars.count('-') && formChars.count('/') && formChars.count('1'));
  EXPECT_TRUE(formChars.count('P') || formChars.count('F') || formChars.count('U'));
  EXPECT_TRUE(std::any_of(coursesAtTime.begin(), coursesAtTime.end(), [](auto& t) {
    return t.second.size() > 1;
  })) << "some races start at the same time at different courses";
  EXPECT_EQ(RaceDayNames(text).size(), static_cast<std::size_t>(runners))
      << "runner names are unique over the day";
}

TEST_P(RaceDay, TipsAndMovesNameRunnersOfTheDay) {
  const Day d = GenerateDay(GetParam(), kDate, 40);
  const std::set<std::string> names = RaceDayNames(DayDataText(d));
  std::set<std::string> tipped;
  bool twice = false;
  for (const std::string& rec : Records(TipsText(d), "<horse>")) {
    const std::string name = TagValue(rec, "name");
    EXPECT_TRUE(names.count(name)) << name;
    twice = twice || !tipped.insert(name).second;
    const int place = IntegerOrZero(TagValue(rec, "place"));
    EXPECT_GE(place, 1);
    EXPECT_LE(place, 3);
  }
  EXPECT_TRUE(twice) << "one runner is tipped twice";

  bool spaced = false, negative = false, positive = false, odd = false;
  for (const std::string& rec : Records(MovesText(d), "<horse>")) {
    EXPECT_TRUE(names.count(TagValue(rec, "name")));
    const std::string course = TagValue(rec, "course");
    spaced = spaced || course != Trim(course);
    for (const char* tag : {"kf1", "kf2"})
      EXPECT_NE(TagValue(rec, tag).find('.'), std::string::npos) << "prices have a point";
    const auto pct = ParseInteger(TagValue(rec, "precent"));
    odd = odd || !pct;
    negative = negative || (pct && *pct < 0);
    positive = positive || (pct && *pct > 0);
  }
  EXPECT_TRUE(spaced && negative && positive && odd);
}

TEST_P(RaceDay, ResultsAreElevenFieldRecordsOutOfTimeOrder) {
  const Day d = GenerateDay(GetParam(), kDate, 40);
  std::string text = ResultsText(d, "http://links.example");
  const auto paren = text.find(')');
  ASSERT_NE(paren, std::string::npos);
  text = Trim(text.substr(paren + 1));
  std::vector<std::string> times;
  const std::set<std::string> names = RaceDayNames(DayDataText(d));
  for (auto br = text.find("<br>"); br != std::string::npos; br = text.find("<br>")) {
    const std::string line = Trim(text.substr(0, br + 1));
    text.erase(0, br + 4);
    EXPECT_EQ(Terminators(line), 11) << line;
    times.push_back(GetField(line, 1));
    EXPECT_EQ(GetField(line, 3).rfind("http://links.example/", 0), 0u);
    const std::string winner = GetField(line, 4);
    EXPECT_TRUE(names.count(winner.substr(winner.find(' ') + 1))) << winner;
    const std::string odds = GetField(line, 5);
    EXPECT_TRUE(odds == "-" || ParseDecimal(ReplaceText(odds, ".", ",")).has_value()) << odds;
  }
  const auto run =
      std::count_if(d.races.begin(), d.races.end(), [](const Race& r) { return !r.abandoned; });
  EXPECT_EQ(times.size(), static_cast<std::size_t>(run));
  EXPECT_FALSE(std::is_sorted(times.begin(), times.end()));
}

TEST_P(RaceDay, IndicatorLinesMatchTheRaceDayWithTheDeliberateDifferences) {
  const Day d = GenerateDay(GetParam(), kDate, 40);
  std::set<std::string> plain;  // race-day names as the runner table shows them
  for (const std::string& n : RaceDayNames(DayDataText(d))) plain.insert(ReplaceText(n, "'", ""));
  std::set<std::string> selections, raceKeys;
  int exact = 0, capitals = 0, withApostrophe = 0;
  for (const std::string& line : SplitLines(IndicatorText(d))) {
    ASSERT_EQ(Terminators(line), 6) << line;
    const std::string name = GetField(line, 3), win = GetField(line, 4), sel = GetField(line, 5),
                      place = GetField(line, 6);
    raceKeys.insert(GetField(line, 1) + GetField(line, 2));
    for (const std::string& id : {win, sel, place}) {
      EXPECT_TRUE(ParseInteger(id).has_value()) << id;
      EXPECT_EQ(id.find('.'), std::string::npos) << "market ids come without their 1. prefix";
    }
    EXPECT_GE(win.size(), 9u);
    EXPECT_EQ(*ParseInteger(place), *ParseInteger(win) + 1);
    EXPECT_TRUE(selections.insert(sel).second);
    if (plain.count(name)) {
      ++exact;
    } else if (name.find('\'') != std::string::npos) {
      ++withApostrophe;
    } else {
      ++capitals;
      EXPECT_TRUE(std::any_of(plain.begin(), plain.end(), [&](const std::string& n) {
        return Upper(n) == name;
      })) << name;
    }
  }
  EXPECT_GT(exact, 0);
  EXPECT_GT(capitals, 0);
  EXPECT_EQ(withApostrophe, 1);
  EXPECT_LT(raceKeys.size(), d.races.size()) << "some races are not on the exchange";
  EXPECT_GE(raceKeys.size() * 2, d.races.size());
  EXPECT_FALSE(d.quirks.empty());
}

TEST_P(RaceDay, RunnerPagesShowFourValuesTheReaderTakesApart) {
  const Day d = GenerateDay(GetParam(), kDate, 40);
  int noPrice = 0, pages = 0;
  for (const Race& race : d.races) {
    if (!race.onExchange()) continue;
    long long shares = 0, event = -1;
    for (const Runner& r : race.runners) {
      if (!r.onExchange()) continue;
      for (bool place : {false, true}) {
        const auto v = testing::ReadRunnerPage(RunnerPageHtml(race, r, place));
        ++pages;
        ASSERT_EQ(v.labelsFound, 4);
        ASSERT_EQ(v.values[0].rfind("\xC2\xA3", 0), 0u) << v.values[0];
        const auto clean = [](std::string s) {
          return ReplaceText(ReplaceText(s, "\xC2\xA3", ""), ",", "");
        };
        const auto a = ParseInteger(clean(v.values[0]));
        const auto b = ParseInteger(clean(v.values[1]));
        ASSERT_TRUE(a && b);
        EXPECT_LE(*b, *a);
        if (!place) {
          if (event >= 0) {
            EXPECT_EQ(event, *a) << "every runner shows the same event total";
          }
          event = *a;
          shares += *b;
          if (v.values[2].empty()) {
            ++noPrice;
          } else if (v.values[2] != "1,000.00") {
            EXPECT_TRUE(ParseDecimal(ReplaceText(v.values[2], ".", ","))) << v.values[2];
          }
        }
      }
    }
    EXPECT_LE(shares, event);
  }
  EXPECT_GT(pages, 100);
  EXPECT_GT(noPrice, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RaceDay, ::testing::Values(1u, 2u, 99u));

TEST(RunnerPages, APriceOfOneThousandIsWrittenWithASeparatorOnSomeDays) {
  int found = 0;
  for (uint64_t seed = 1; seed <= 6 && !found; ++seed) {
    const Day d = GenerateDay(seed, kDate, 40);
    for (const Race& race : d.races)
      for (const Runner& r : race.runners)
        if (r.onExchange() &&
            testing::ReadRunnerPage(RunnerPageHtml(race, r, false)).values[2] == "1,000.00")
          ++found;
  }
  EXPECT_GT(found, 0);
}

TEST(AbandonedMeeting, KeepsItsCardsButHasNoResults) {
  const auto anyAbandoned = [](const Day& day) {
    return std::any_of(day.races.begin(), day.races.end(), [](auto& r) { return r.abandoned; });
  };
  Day d = GenerateDay(1, kDate, 40);
  for (int days = 1; days < 200 && !anyAbandoned(d); ++days)
    d = GenerateDay(1, AddDays(kDate, days), 40);
  ASSERT_TRUE(anyAbandoned(d)) << "a meeting is abandoned now and then";
  const std::string card = DayDataText(d), results = ResultsText(d, "http://h");
  std::set<std::string> courses;
  for (const Race& race : d.races) {
    const std::string key = race.time + ">>" + race.course + ">>";
    EXPECT_NE(card.find("<course>" + race.course + "</course><time>" + race.time),
              std::string::npos);
    EXPECT_EQ(results.find(key) == std::string::npos, race.abandoned) << key;
    if (race.abandoned) courses.insert(race.course);
  }
  ASSERT_EQ(courses.size(), 1u) << "one meeting, all its races";
  EXPECT_TRUE(std::any_of(d.quirks.begin(), d.quirks.end(), [&](const std::string& q) {
    return q.find(*courses.begin()) != std::string::npos;
  }));
}

TEST(RaceCount, FollowsTheOption) {
  for (int n : {1, 3, 30, 60, 120}) {
    const Day d = GenerateDay(3, kDate, n);
    EXPECT_EQ(static_cast<int>(d.races.size()), n);
    EXPECT_EQ(Records(DayDataText(d), "<zabeg>").size(), static_cast<std::size_t>(n));
  }
}

TEST(Zorvat, ProcessBaseHasEveryKeyWithFourteenDigits) {
  std::set<std::string> keys;
  for (const std::string& line : SplitLines(ProcessBaseText(5))) {
    ASSERT_EQ(Terminators(line), 15) << line;
    keys.insert(GetField(line, 1));
    for (int f = 2; f <= 15; ++f) {
      const auto v = ParseInteger(GetField(line, f));
      ASSERT_TRUE(v);
      EXPECT_GE(*v, 0);
      EXPECT_LE(*v, 9);
    }
  }
  EXPECT_EQ(keys.size(), 100u);
  EXPECT_TRUE(keys.count("00") && keys.count("47") && keys.count("99"));
}

TEST(Zorvat, ScoreBaseCoversEveryStatusWithLetterCodes) {
  std::set<std::string> statuses;
  for (const std::string& line : SplitLines(ScoreBaseText(5))) {
    ASSERT_EQ(Terminators(line), 4) << line;
    statuses.insert(GetField(line, 1));
    for (int f : {2, 3}) {
      const std::string code = GetField(line, f);
      EXPECT_TRUE(code == "x" || code.find_first_not_of("DFIV") == std::string::npos) << code;
    }
    EXPECT_TRUE(ParseInteger(GetField(line, 4))) << line;
  }
  for (const std::string& s : ScoringStatuses()) EXPECT_TRUE(statuses.count(s)) << s;
  for (const char* s : {"1A(B)", "4B(c)", "O.W.(A)", "U.2a(x)", "Ex.(a)", "U.O.W.(c)"})
    EXPECT_TRUE(statuses.count(s)) << s;
}

TEST(Zorvat, DayValuesForEveryDayOfTheYear) {
  std::set<std::string> days;
  for (const std::string& line : SplitLines(DayValuesText(5))) {
    ASSERT_EQ(Terminators(line), 2);
    const std::string dm = GetField(line, 1);
    ASSERT_EQ(dm.size(), 5u);
    EXPECT_EQ(dm[2], '.');
    EXPECT_TRUE(ParseInteger(GetField(line, 2)));
    days.insert(dm);
  }
  EXPECT_EQ(days.size(), 366u);
  for (Date d{2024, 1, 1}; d.year == 2024; d = AddDays(d, 1))
    EXPECT_TRUE(days.count(FormatDayMonth(d))) << FormatDayMonth(d);
}

TEST(Dates, AddDaysCrossesMonthsYearsAndLeapDays) {
  const struct {
    Date from;
    int days;
    Date to;
  } cases[] = {{{2024, 3, 1}, -1, {2024, 2, 29}},  {{2023, 3, 1}, -1, {2023, 2, 28}},
               {{2024, 1, 1}, -1, {2023, 12, 31}}, {{2024, 12, 31}, 1, {2025, 1, 1}},
               {{2000, 2, 28}, 1, {2000, 2, 29}},  {{1900, 2, 28}, 1, {1900, 3, 1}},
               {{2024, 3, 5}, 0, {2024, 3, 5}},    {{2024, 3, 5}, 366, {2025, 3, 6}}};
  for (const auto& c : cases) EXPECT_EQ(FormatDate(AddDays(c.from, c.days)), FormatDate(c.to));
}

TEST(Prices, SnapToTheExchangeSteps) {
  const std::pair<double, double> cases[] = {
      {1.004, 1.01}, {1.234, 1.23}, {2.513, 2.52}, {3.62, 3.6}, {4.56, 4.6},
      {7.13, 7.2},   {13.2, 13.0},  {23.4, 23},    {47, 48},    {1200, 1000}};
  for (const auto& [in, out] : cases) EXPECT_NEAR(SnapPrice(in), out, 1e-9) << in;
  EXPECT_EQ(PriceText(4.5), "4.50");
  EXPECT_EQ(Thousands(1234567), "1,234,567");
  EXPECT_EQ(Thousands(999), "999");
}

}  // namespace
}  // namespace trotix::vendorsim
