#include "report/report_list.h"

#include <stdexcept>

#include "text/strings.h"

namespace trotix {
namespace {

constexpr int kName = 1;
constexpr int kKf = 10;

// The label reads "Course: " and the course.
std::string CourseOfLabel(const std::string& u2) {
  const auto colon = u2.find(':');
  return Trim(colon == std::string::npos ? u2 : u2.substr(colon + 1));
}

}  // namespace

std::string TABCellDblClick(Workspace& ws, int row) {
  if (row < 0 || row >= ws.TAB.RowCount()) throw std::out_of_range("no such runner");
  Table& REP = ws.REP;
  const int r = REP.AddRow();
  REP.At(r, 1).text = CourseOfLabel(ws.u2);
  REP.At(r, 0).text = ws.u1;
  REP.At(r, 2).text = ws.TAB.Text(row, kName);
  REP.At(r, 3).text = ws.TAB.Text(row, kKf);
  REP.At(r, 4).text = kManualSystem;
  return kAddedToReport;
}

void REPCellClick(Workspace& ws, int row) {
  if (row < 0 || row >= ws.REP.RowCount()) throw std::out_of_range("no such report row");
  ws.ReportRow = row;
}

std::string N1Click(Workspace& ws) {
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
