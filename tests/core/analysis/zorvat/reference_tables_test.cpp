#include "analysis/zorvat/reference_tables.h"

#include <gtest/gtest.h>

#include "model/columns.h"
#include "zorvat_fixtures.h"

namespace trotix {
namespace {

using testing::kZorvatDay;

TEST(LoadZorvatTables, KeepsTheLinesOfBothBasesAndOneRaceNumberRow) {
  Workspace ws;
  ws.ProcessBase = std::make_shared<const std::vector<std::string>>(1, "old");
  ws.ScoreBase = ws.ProcessBase;
  LoadZorvatTables(ws, "47>>3>>5>>\r\n12>>1>>2>>\r\n", "4B(c)>>DF>>IV>>12>>\n", "", kZorvatDay);
  EXPECT_EQ(*ws.ProcessBase, (std::vector<std::string>{"47>>3>>5>>", "12>>1>>2>>"}));
  EXPECT_EQ(*ws.ScoreBase, (std::vector<std::string>{"4B(c)>>DF>>IV>>12>>"}));
  ASSERT_EQ(ws.RF.RowCount(), 1);
  EXPECT_EQ(ws.RF.Text(0, rf::kDV), "0");  // no day-value line for today
  EXPECT_TRUE(ws.RF.At(0, rf::kDV).bold);
  EXPECT_EQ(ws.RF.At(0, rf::kDV).fontColor, colors::kRed);
}

TEST(LoadZorvatTables, DayValueOfToday) {
  const struct {
    const char* what;
    std::string dayValues;
    int dv;
  } cases[] = {
      {"one line for today", "06.03>>5>>\n07.03>>3>>\n08.03>>9>>\n", 3},
      {"two lines for today: the later wins", "07.03>>3>>\n07.03>>6>>\n08.03>>1>>\n", 6},
      {"dates written with '/'", "07/03>>3>>\n", 0},
      {"other days only", "07.04>>3>>\n7.03>>3>>\n", 0},
      {"a value of two digits is kept whole", "07.03>>12>>\n", 12},
      {"failed download", "", 0},
  };
  for (const auto& c : cases) {
    Workspace ws;
    LoadZorvatTables(ws, "", "", c.dayValues, kZorvatDay);
    EXPECT_EQ(ws.RF.Integer(0, rf::kDV), c.dv) << c.what;
  }
}

TEST(LoadZorvatTables, LoadingAgainKeepsTheRowAndADayValueNotFound) {
  Workspace ws;
  ws.RF.SetRowCount(3);
  ws.RF.SetNumber(0, rf::kDV, 5);
  ws.RF.SetNumber(0, rf::kVP, 2);
  LoadZorvatTables(ws, "", "", "07/03>>3>>\n", kZorvatDay);
  ASSERT_EQ(ws.RF.RowCount(), 1);
  EXPECT_EQ(ws.RF.Integer(0, rf::kDV), 5);
  EXPECT_EQ(ws.RF.Integer(0, rf::kVP), 2);
  EXPECT_TRUE(ws.ProcessBase->empty());
  EXPECT_TRUE(ws.ScoreBase->empty());
}

}  // namespace
}  // namespace trotix
