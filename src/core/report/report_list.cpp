#include "report/report_list.h"

#include <stdexcept>

#include "model/columns.h"
#include "text/strings.h"

namespace trotix {
namespace {

// The label reads "Course: " and the course.
std::string CourseOfLabel(const std::string& u2) {
  const auto colon = u2.find(':');
  return Trim(colon == std::string::npos ? u2 : u2.substr(colon + 1));
}

}  // namespace

std::string AddToReport(Workspace& ws, int row) {
  if (row < 0 || row >= ws.TAB.RowCount()) throw std::out_of_range("no such runner");
  Table& REP = ws.REP;
  const int r = REP.AddRow();
  REP.At(r, rep::kCourse).text = CourseOfLabel(ws.u2);
  REP.At(r, rep::kTime).text = ws.u1;
  REP.At(r, rep::kName).text = ws.TAB.Text(row, tab::kName);
  REP.At(r, rep::kOdds).text = ws.TAB.Text(row, tab::kKf);
  REP.At(r, rep::kSystem).text = kManualSystem;
  return kAddedToReport;
}

void SelectReportRow(Workspace& ws, int row) {
  if (row < 0 || row >= ws.REP.RowCount()) throw std::out_of_range("no such report row");
  ws.ReportRow = row;
}

std::string DeleteReportRow(Workspace& ws) {
  // The remembered row is forgotten on every change that could move it, so any row outside
  // REP would be a caller's error; it is treated as no selection rather than a crash.
  if (ws.ReportRow < 0 || ws.ReportRow >= ws.REP.RowCount()) {
    ws.ReportRow = -1;
    return kSelectHorse;
  }
  ws.REP.DeleteRow(ws.ReportRow);
  ws.ReportRow = -1;
  return {};
}

void ClearReport(Workspace& ws) {
  ws.REP.ClearRows();
  ws.ReportRow = -1;
}

}  // namespace trotix
