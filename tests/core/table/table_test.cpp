#include "table/table.h"

#include <gtest/gtest.h>

namespace trotix {
namespace {

Column Of(const char* caption, ColumnKind kind) {
  Column c;
  c.caption = caption;
  c.kind = kind;
  return c;
}

Table Sample() {
  return Table(
      {Of("Name", ColumnKind::Text), Of("Odd", ColumnKind::Number), Of("", ColumnKind::Image)});
}

TEST(Table, NewRowsHoldDefaults) {
  Table t = Sample();
  EXPECT_EQ(t.AddRow(), 0);
  EXPECT_EQ(t.AddRow(), 1);
  EXPECT_EQ(t.Text(1, 0), "");
  EXPECT_EQ(t.Text(1, 1), "0");
  EXPECT_EQ(t.Image(1, 2), 0);
  EXPECT_FALSE(t.At(1, 0).color.has_value());
  EXPECT_EQ(t.ColorOf(1, 0), colors::kWhite);
}

TEST(Table, NumberCellsReadTextAsNumbers) {
  Table t = Sample();
  t.AddRow();
  t.SetText(0, 1, "4,5");
  EXPECT_EQ(t.Number(0, 1), 4.5);
  EXPECT_EQ(t.Text(0, 1), "4,5");
  EXPECT_EQ(t.Integer(0, 1), 4);  // halves to even
  t.SetText(0, 1, "3,5");
  EXPECT_EQ(t.Integer(0, 1), 4);
  t.SetText(0, 1, "not a number");
  EXPECT_EQ(t.Number(0, 1), 0);
  t.SetText(0, 0, "4,5");
  EXPECT_EQ(t.Text(0, 0), "4,5");
}

TEST(Table, SortIsStableAndByKind) {
  Table t = Sample();
  const std::pair<const char*, double> rows[] = {{"b", 10}, {"a", 9}, {"c", 10}, {"d", 2}};
  for (const auto& [name, odd] : rows) {
    const int r = t.AddRow();
    t.SetText(r, 0, name);
    t.SetNumber(r, 1, odd);
  }
  t.SortByColumn(1);  // numbers sort as numbers, not as text ("10" < "2")
  EXPECT_EQ(t.Text(0, 0), "d");
  EXPECT_EQ(t.Text(1, 0), "a");
  EXPECT_EQ(t.Text(2, 0), "b");  // equal keys keep their order
  EXPECT_EQ(t.Text(3, 0), "c");
  t.SortByColumn(0);
  EXPECT_EQ(t.Text(0, 0), "a");
  EXPECT_EQ(t.Text(3, 0), "d");
}

TEST(Table, RowCountDeleteAndClear) {
  Table t = Sample();
  t.SetRowCount(3);
  t.SetText(0, 0, "keep");
  t.SetRowCount(1);
  EXPECT_EQ(t.RowCount(), 1);
  EXPECT_EQ(t.Text(0, 0), "keep");  // an existing first row keeps its cells
  t.AddRow();
  t.DeleteRow(0);
  EXPECT_EQ(t.Text(0, 0), "");
  EXPECT_THROW(t.DeleteRow(5), std::out_of_range);
  t.ClearRows();
  EXPECT_EQ(t.RowCount(), 0);
  EXPECT_EQ(t.ColumnCount(), 3);
}

TEST(Rgb, PlatformColourValue) {
  EXPECT_EQ(colors::kLightGreen.Value(), 12058551u);
}

}  // namespace
}  // namespace trotix
