#include "report/report_list.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace trotix {
namespace {

Workspace RaceOnShow() {
  Workspace ws;
  ws.u1 = "14:05";
  ws.u2 = "Course:  Sha Tin ";
  for (const char* name : {"Alpha", "Bravo"}) {
    const int r = ws.TAB.AddRow();
    ws.TAB.SetText(r, 1, name);
    ws.TAB.SetNumber(r, 10, r == 0 ? 3.5 : 12);
  }
  return ws;
}

TEST(AddToReport, AddsTheRunnerWithTimeCourseAndKf) {
  Workspace ws = RaceOnShow();
  EXPECT_EQ(AddToReport(ws, 0), "Add to Report");
  EXPECT_EQ(AddToReport(ws, 0), "Add to Report");
  EXPECT_EQ(AddToReport(ws, 1), "Add to Report");
  ASSERT_EQ(ws.REP.RowCount(), 3);
  const char* expected[3][5] = {{"14:05", "Sha Tin", "Alpha", "3,5", "MySystem"},
                                {"14:05", "Sha Tin", "Alpha", "3,5", "MySystem"},
                                {"14:05", "Sha Tin", "Bravo", "12", "MySystem"}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 5; ++c) EXPECT_EQ(ws.REP.Text(r, c), expected[r][c]) << r << c;
  EXPECT_THROW(AddToReport(ws, 2), std::out_of_range);
  EXPECT_EQ(ws.REP.RowCount(), 3);
}

TEST(AddToReport, CourseLabelWithoutColonIsTakenWhole) {
  Workspace ws = RaceOnShow();
  ws.u2 = " Ascot ";
  AddToReport(ws, 1);
  EXPECT_EQ(ws.REP.Text(0, 1), "Ascot");
}

TEST(DeleteReportRow, DeletesTheClickedRowOnce) {
  Workspace ws = RaceOnShow();
  AddToReport(ws, 0);
  AddToReport(ws, 1);
  EXPECT_EQ(DeleteReportRow(ws), "Select Please Horse");  // nothing clicked yet
  EXPECT_EQ(ws.REP.RowCount(), 2);
  SelectReportRow(ws, 0);
  EXPECT_EQ(ws.ReportRow, 0);
  EXPECT_EQ(DeleteReportRow(ws), "");
  ASSERT_EQ(ws.REP.RowCount(), 1);
  EXPECT_EQ(ws.REP.Text(0, 2), "Bravo");
  EXPECT_EQ(ws.ReportRow, -1);
  EXPECT_EQ(DeleteReportRow(ws), "Select Please Horse");  // after a delete
  EXPECT_EQ(ws.REP.RowCount(), 1);
  EXPECT_THROW(SelectReportRow(ws, 1), std::out_of_range);
}

TEST(DeleteReportRow, AfterClearNothingIsRemembered) {
  Workspace ws = RaceOnShow();
  AddToReport(ws, 0);
  AddToReport(ws, 1);
  SelectReportRow(ws, 1);
  ClearReport(ws);
  EXPECT_EQ(ws.REP.RowCount(), 0);
  EXPECT_EQ(ws.ReportRow, -1);
  AddToReport(ws, 0);
  AddToReport(ws, 1);
  EXPECT_EQ(DeleteReportRow(ws), "Select Please Horse");
  EXPECT_EQ(ws.REP.RowCount(), 2);  // the row added later is not deleted by mistake
}

}  // namespace
}  // namespace trotix
