// Systems of the user's own: the file, the filters and selections over a small hand-made set of
// stored runners, and the warning when the out-of-sample side falls well below.
#include <gtest/gtest.h>

#include "systems/evaluate.h"
#include "systems/rule.h"

namespace trotix::systems {
namespace {

RunnerParts Row(Date day, const char* time, const char* course, int order, const char* runner,
                PartValues parts, std::optional<double> price, PickResult result,
                const char* raceClass, int runners) {
  RunnerParts r;
  r.day = day;
  r.time = time;
  r.course = course;
  r.order = order;
  r.runner = runner;
  r.parts = parts;
  r.price = price;
  r.result = result;
  r.raceClass = raceClass;
  r.runners = runners;
  r.joined = true;
  return r;
}

// Ascot: Beta and Delta share the top sum (Delta later on the card), Gamma leads but does not run.
// Kempton: Echo leads Fox by 30.
std::vector<RunnerParts> HandMade() {
  const Date one{2026, 11, 1}, two{2026, 11, 2};
  std::vector<RunnerParts> rows = {
      Row(one, "14:00", "Ascot", 0, "Alpha", {10, 0, 0, 0, 0, 0, 0, 0}, 3.0, PickResult::kWon,
          "Class 2", 4),
      Row(one, "14:00", "Ascot", 1, "Beta", {30, 0, 0, 0, 0, 0, 0, 0}, 5.0, PickResult::kPlaced,
          "Class 2", 4),
      Row(one, "14:00", "Ascot", 2, "Gamma", {100, 0, 0, 0, 0, 0, 0, 0}, 1.5, PickResult::kVoid,
          "Class 2", 4),
      Row(one, "14:00", "Ascot", 3, "Delta", {0, 30, 0, 0, 0, 0, 0, 0}, std::nullopt,
          PickResult::kUnplaced, "Class 2", 4),
      Row(two, "18:30", "Kempton", 0, "Echo", {50, 0, 0, 0, 0, 0, 0, 0}, 2.0, PickResult::kWon,
          "Class 5", 3),
      Row(two, "18:30", "Kempton", 1, "Fox", {20, 0, 0, 0, 0, 0, 0, 0}, 8.0, PickResult::kUnplaced,
          "Class 5", 3),
      Row(two, "18:30", "Kempton", 2, "Golf", {5, 0, 0, 0, 0, 0, 0, 0}, 20.0, PickResult::kUnplaced,
          "Class 5", 3),
  };
  rows[2].nonRunner = true;
  return rows;
}

std::vector<std::string> Names(const std::vector<const RunnerParts*>& picks) {
  std::vector<std::string> out;
  for (const RunnerParts* p : picks) out.push_back(p->runner);
  return out;
}

TEST(SystemSelection, FiltersAndSelectionsOverAHandMadeArchive) {
  struct Case {
    const char* name;
    const char* file;
    std::vector<std::string> picks;
  };
  const std::vector<Case> cases = {
      {"Summa's leader; equal sums go to the later card row", "{}", {"Delta", "Echo"}},
      {"top 2", R"({"select": {"top": 2}})", {"Delta", "Beta", "Echo", "Fox"}},
      {"at least 20", R"({"select": {"atLeast": 20}})", {"Delta", "Beta", "Echo", "Fox"}},
      {"a leader level with the second leads by nothing",
       R"({"select": {"leadBy": 10}})",
       {"Echo"}},
      {"lead beyond every margin", R"({"select": {"leadBy": 31}})", {}},
      {"BF % counted out", R"({"weights": {"bf": 0}})", {"Beta", "Echo"}},
      {"BF % counted double",
       R"({"weights": {"bf": 2}, "select": {"top": 2}})",
       {"Delta", "Beta", "Echo", "Fox"}},
      {"a course, whatever its case", R"({"race": {"courses": ["ascot"]}})", {"Delta"}},
      {"a class", R"({"race": {"classes": ["Class 5"]}})", {"Echo"}},
      {"no more than 3 runners", R"({"race": {"runnersMax": 3}})", {"Echo"}},
      {"at least 4 runners", R"({"race": {"runnersMin": 4}})", {"Delta"}},
      {"from 15:00", R"({"race": {"timeFrom": "15:00"}})", {"Echo"}},
      {"to 14:00, inclusive", R"({"race": {"timeTo": "14:00"}})", {"Delta"}},
      {"price at most 4: no price fails, another is never promoted",
       R"({"runner": {"priceMax": 4}, "select": {"top": 2}})",
       {"Echo"}},
      {"price at least 6", R"({"runner": {"priceMin": 6}, "select": {"top": 3}})", {"Fox", "Golf"}},
      {"a least Rank", R"({"runner": {"partMin": {"rank": 5}}})", {"Echo"}},
  };
  const auto rows = HandMade();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto parsed = ParseRule(c.file);
    ASSERT_TRUE(parsed.rule) << parsed.error;
    EXPECT_EQ(Names(SelectPicks(rows, *parsed.rule)), c.picks);
  }
}

TEST(SystemSelection, LeavesOutLateRacesAndDaysOutOfRange) {
  auto rows = HandMade();
  for (int i = 0; i < 4; ++i) rows[i].late = true;
  EXPECT_EQ(Names(SelectPicks(rows, Rule{})), std::vector<std::string>{"Echo"});
  const auto early = HandMade();
  EXPECT_EQ(Names(SelectPicks(early, Rule{}, Date{2026, 11, 2})), std::vector<std::string>{"Echo"});
  EXPECT_EQ(Names(SelectPicks(early, Rule{}, std::nullopt, Date{2026, 11, 1})),
            std::vector<std::string>{"Delta"});
}

TEST(SystemSelection, FiguresAreProofsFigures) {
  const auto rows = HandMade();
  const auto parsed = ParseRule(R"({"select": {"top": 2}})");
  const TestFigures t = Figures(SelectPicks(rows, *parsed.rule), "Mine", 0.05);
  ASSERT_EQ(t.bets.size(), 4u);
  EXPECT_EQ(t.figures.method, "Mine");
  EXPECT_EQ(t.figures.bets, 4);
  EXPECT_EQ(t.figures.winners, 1);  // Echo, at SP none: the results kept no SP
  EXPECT_EQ(t.bets[0].runner, "Delta");
  EXPECT_EQ(t.bets[0].raceClass, "Class 2");
  EXPECT_EQ(t.bets[0].runners, 4);
}

TEST(SystemFile, ReadsGoodFilesAndSaysWhatIsWrongWithBadOnes) {
  struct Case {
    const char* name;
    const char* file;
    const char* error;  // a part of the message; empty for a good file
  };
  const std::vector<Case> cases = {
      {"empty: every default", "{}", ""},
      {"the whole file",
       R"({"weights": {"rank": 1, "bf": 1, "scalp": 1, "rpr": 1, "indicator": 1, "tips": 1,
           "fr": 1, "zorvat": 1}, "race": {"courses": [], "classes": [], "runnersMin": 0,
           "runnersMax": 0, "timeFrom": "", "timeTo": ""}, "runner": {"priceMin": 0,
           "priceMax": 0, "partMin": {}}, "select": {"top": 1}})",
       ""},
      {"not JSON", "{weights", "not JSON"},
      {"no object", "[1]", "must be an object"},
      {"a key misspelt", R"({"wieghts": {}})", "unknown key \"wieghts\""},
      {"a part misspelt", R"({"weights": {"rnak": 2}})", "unknown part \"rnak\""},
      {"a weight no number", R"({"weights": {"rank": "x"}})", "weights.rank must be a number"},
      {"two selections", R"({"select": {"top": 1, "atLeast": 3}})", "one of top"},
      {"top 0", R"({"select": {"top": 0}})", "1 or more"},
      {"top 1.5", R"({"select": {"top": 1.5}})", "whole number"},
      {"prices the wrong way", R"({"runner": {"priceMin": 9, "priceMax": 3}})", "above"},
      {"a negative price", R"({"runner": {"priceMin": -1}})", "must not be negative"},
      {"no time", R"({"race": {"timeFrom": "25:00"}})", "hh:mm"},
      {"runners the wrong way", R"({"race": {"runnersMin": 9, "runnersMax": 3}})", "above"},
      {"courses no list", R"({"race": {"courses": "Ascot"}})", "list of texts"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto parsed = ParseRule(c.file);
    if (*c.error == '\0') {
      ASSERT_TRUE(parsed.rule) << parsed.error;
      EXPECT_EQ(*parsed.rule, Rule{});
    } else {
      EXPECT_FALSE(parsed.rule);
      EXPECT_NE(parsed.error.find(c.error), std::string::npos) << parsed.error;
    }
  }
}

TEST(SystemFile, WritesEveryKeyAndReadsItBack) {
  const auto parsed = ParseRule(
      R"({"weights": {"bf": 2, "zorvat": 0.5}, "race": {"courses": ["Ascot"], "runnersMax": 12,
          "timeFrom": "13:00"}, "runner": {"priceMin": 2, "partMin": {"rpr": -5}},
          "select": {"leadBy": 15}})");
  ASSERT_TRUE(parsed.rule) << parsed.error;
  EXPECT_EQ(parsed.rule->weights[1], 2);
  EXPECT_EQ(parsed.rule->select, Select::kLeadBy);
  const std::string text = RuleJson(*parsed.rule);
  EXPECT_NE(text.find("\"zorvat\": 0.5"), std::string::npos) << text;
  const auto again = ParseRule(text);
  ASSERT_TRUE(again.rule) << again.error;
  EXPECT_EQ(*again.rule, *parsed.rule);
}

TEST(SystemSplit, WarnsWhenTheOutOfSampleSideFallsWellBelow) {
  struct Case {
    const char* name;
    int outBets;
    double outRoi, outStrike;
    bool warned;
  };
  const std::vector<Case> cases = {
      {"alike", 40, 0.25, 0.28, false},
      {"ROI 9 points lower", 40, 0.21, 0.30, false},
      {"ROI 11 points lower", 40, 0.19, 0.30, true},
      {"strike rate under three quarters", 40, 0.30, 0.22, true},
      {"too few bets to tell", 19, -0.50, 0.05, false},
  };
  proof::MethodFigures in;
  in.bets = 40;
  in.roiSP = 0.30;
  in.strikeRate = 0.30;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    proof::MethodFigures out;
    out.bets = c.outBets;
    out.roiSP = c.outRoi;
    out.strikeRate = c.outStrike;
    EXPECT_EQ(!OverfitWarning(in, out).empty(), c.warned) << OverfitWarning(in, out);
  }
}

TEST(SystemSplit, PutsEachPickOnTheSideOfItsDay) {
  const auto rows = HandMade();
  const SplitFigures s = SplitTest(rows, Rule{}, "Mine", Date{2026, 11, 2}, 0.05);
  ASSERT_EQ(s.inSample.bets.size(), 1u);
  EXPECT_EQ(s.inSample.bets[0].runner, "Delta");
  ASSERT_EQ(s.outOfSample.bets.size(), 1u);
  EXPECT_EQ(s.outOfSample.bets[0].runner, "Echo");
  EXPECT_TRUE(s.warning.empty());  // too few bets to say
}

}  // namespace
}  // namespace trotix::systems
