// Picks judged against hand-written results and race cards.
#include "archive/settlement.h"

#include <gtest/gtest.h>

namespace trotix {
namespace {

// Listed as they come in, with the saddle-cloth number in front of each name.
constexpr const char* kResults =
    "<html><body><b>Trotix results</b> (08.12.2026)\r\n"
    "15:10>>Kempton>>http://r/2.html>>7 22 Carat>>6.00>>1 Quiet Lane>>-"
    ">>4 Dusty Road>>3.10>>>>>><br>\r\n"
    "14:30>>Ascot>>http://r/1.html>>12 Dune>>2.10>>3 King's Meadow>>4.50"
    ">>5 Sea Bird>>7.00>>9 Old Tom>>11.00>><br>\r\n"
    "</body></html>\r\n";

// The race day as the sign-in answers it: the card keeps apostrophes, lists non-runners as NR.
constexpr const char* kDayCard =
    "<zabeg><course>Ascot</course><time>14:30</time><name>Maiden</name>"
    "<horse><number>12</number><name_horse>Dune</name_horse></horse>"
    "<horse><number>3</number><name_horse>King's Meadow</name_horse></horse>"
    "<horse><number>5</number><name_horse>Sea Bird</name_horse></horse>"
    "<horse><number>9</number><name_horse>Old Tom</name_horse></horse>"
    "<horse><number>2</number><name_horse>Slow Boat</name_horse></horse>"
    "<horse><number>NR</number><name_horse>Stayed Home</name_horse></horse>"
    "</zabeg>\r\n"
    "<zabeg><course>Kempton</course><time>15:10</time><name>Handicap</name>"
    "<horse><number>7</number><name_horse>22 Carat</name_horse></horse></zabeg>\r\n";

Pick PickOf(std::string time, std::string course, std::string runner) {
  Pick p;
  p.day = {2026, 12, 8};
  p.time = std::move(time);
  p.course = std::move(course);
  p.runner = std::move(runner);
  p.system = "MySystem";
  return p;
}

TEST(Settlement, HandWorkedPicks) {
  const auto results = ParseResults(kResults);
  ASSERT_EQ(results.size(), 2u);
  struct Case {
    const char* what;
    Pick pick;
    PickResult result;
    int position;
    std::optional<double> sp;
  };
  const Case cases[] = {
      {"winner with its number in front", PickOf("14:30", "Ascot", "Dune"), PickResult::kWon, 1,
       2.10},
      {"the card drops the apostrophe the results keep", PickOf("14:30", "Ascot", "Kings Meadow"),
       PickResult::kPlaced, 2, 4.50},
      {"third is placed", PickOf("14:30", "Ascot", "Sea Bird"), PickResult::kPlaced, 3, 7.00},
      {"fourth is unplaced, with its SP", PickOf("14:30", "Ascot", "Old Tom"),
       PickResult::kUnplaced, 4, 11.00},
      {"ran but not in the first four", PickOf("14:30", "Ascot", "Slow Boat"),
       PickResult::kUnplaced, 0, std::nullopt},
      {"a non-runner is void", PickOf("14:30", "Ascot", "Stayed Home"), PickResult::kVoid, 0,
       std::nullopt},
      {"not in the race's card is void", PickOf("14:30", "Ascot", "Stranger"), PickResult::kVoid, 0,
       std::nullopt},
      {"case and spaces around do not matter", PickOf(" 14:30", "ASCOT ", "  dune "),
       PickResult::kWon, 1, 2.10},
      {"a name starting with digits keeps them", PickOf("15:10", "Kempton", "22 Carat"),
       PickResult::kWon, 1, 6.00},
      {"a place without a starting price", PickOf("15:10", "Kempton", "Quiet Lane"),
       PickResult::kPlaced, 2, std::nullopt},
      {"a race a later day's page missed before, missing again, is void",
       PickOf("16:00", "Ascot", "Dune"), PickResult::kVoid, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto verdict =
        SettlePick(c.pick, results, kDayCard, /*dayOver=*/true, /*missedBefore=*/true);
    ASSERT_TRUE(verdict) << c.what;
    EXPECT_EQ(verdict->result, c.result) << c.what;
    EXPECT_EQ(verdict->position, c.position) << c.what;
    EXPECT_EQ(verdict->sp, c.sp) << c.what;
  }
}

TEST(Settlement, NoVerdictWhileTheResultsCannotTell) {
  const auto results = ParseResults(kResults);
  // Today's later race may not have run yet.
  EXPECT_FALSE(SettlePick(PickOf("16:00", "Ascot", "Dune"), results, kDayCard, false));
  // A past day's page may be incomplete: the first time it lacks the race, the race waits.
  EXPECT_FALSE(SettlePick(PickOf("16:00", "Ascot", "Dune"), results, kDayCard, true));
  const std::vector<RaceMiss> misses = {{{2026, 12, 8}, "16:00", "ascot", {2026, 12, 9}}};
  const Pick late = PickOf("16:00", "Ascot", "Dune");
  EXPECT_FALSE(MissedBefore(misses, late, {2026, 12, 9})) << "missed today only";
  EXPECT_TRUE(MissedBefore(misses, late, {2026, 12, 10}));
  EXPECT_EQ(SettleDay({late}, results, kDayCard, true, nullptr, misses, {2026, 12, 10}).size(), 1u);
  // A race listed without a finisher was abandoned: void.
  const std::vector<RaceResult> abandoned = {{"16:00", "Ascot", {{"", {}}, {"", {}}}}};
  const auto off = SettlePick(late, abandoned, kDayCard, true);
  ASSERT_TRUE(off);
  EXPECT_EQ(off->result, PickResult::kVoid);
  // Results not published: an empty answer, or one without a result line.
  for (const char* answer : {"", "<html><body>(08.12.2026)</body></html>"})
    EXPECT_FALSE(SettlePick(PickOf("14:30", "Ascot", "Dune"), ParseResults(answer), kDayCard, true))
        << answer;
  // Without the day's card a runner outside the first four counts as having run.
  const auto verdict = SettlePick(PickOf("14:30", "Ascot", "Stranger"), results, "", true);
  ASSERT_TRUE(verdict);
  EXPECT_EQ(verdict->result, PickResult::kUnplaced);
}

}  // namespace
}  // namespace trotix
