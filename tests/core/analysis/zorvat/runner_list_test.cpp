#include "analysis/zorvat/runner_list.h"

#include <gtest/gtest.h>

#include "zorvat_fixtures.h"

namespace trotix {
namespace {

TEST(RunnerItemLess, SeparatorBeforeDigitsAndNoRegardToCase) {
  const struct {
    std::string a, b;
  } ascending[] = {
      {"1>>A>>1>>", "10>>B>>1>>"}, {"10>>B>>1>>", "11>>C>>1>>"}, {"12>>D>>1>>", "2>>E>>1>>"},
      {"2>>x>>1>>", "2>>Y>>1>>"},  {"2>>Y>>1>>", "2>>z>>1>>"},   {"1>>A>>1>>", "1>>A1>>1>>"},
      {"1>>9>>1>>", "1>>a>>1>>"},  {"NR>>A>>1>>", "NR>>B>>1>>"}, {"9>>A>>1>>", "NR>>A>>1>>"},
  };
  for (const auto& c : ascending) {
    EXPECT_TRUE(RunnerItemLess(c.a, c.b)) << c.a << " < " << c.b;
    EXPECT_FALSE(RunnerItemLess(c.b, c.a)) << c.b << " < " << c.a;
  }
  EXPECT_FALSE(RunnerItemLess("1>>abc>>1>>", "1>>ABC>>1>>"));
  EXPECT_FALSE(RunnerItemLess("1>>ABC>>1>>", "1>>abc>>1>>"));
}

TEST(SortedRunnerList, TwelveRunnersInListOrder) {
  Table card = Workspace().TAB;
  for (int n = 1; n <= 12; ++n) {
    const int row = card.AddRow();
    card.SetText(row, 0, std::to_string(n));
    card.SetText(row, 1, "Horse " + std::to_string(n));
  }
  const auto items = SortedRunnerList(card);
  const std::vector<std::string> numbers = {"1", "10", "11", "12", "2", "3",
                                            "4", "5",  "6",  "7",  "8", "9"};
  ASSERT_EQ(items.size(), numbers.size());
  for (std::size_t i = 0; i < items.size(); ++i)
    EXPECT_EQ(items[i], numbers[i] + ">>Horse " + numbers[i] + ">>1>>");
}

TEST(SortedRunnerList, EqualItemsKeepTheCardOrderAndNoCardGivesNoItems) {
  Table card = Workspace().TAB;
  EXPECT_TRUE(SortedRunnerList(card).empty());
  for (const char* name : {"SEA", "sea", "Sea"}) {
    const int row = card.AddRow();
    card.SetText(row, 0, "1");
    card.SetText(row, 1, name);
  }
  const std::vector<std::string> expected = {"1>>SEA>>1>>", "1>>sea>>1>>", "1>>Sea>>1>>"};
  EXPECT_EQ(SortedRunnerList(card), expected);
}

}  // namespace
}  // namespace trotix
