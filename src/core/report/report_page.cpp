#include "report/report_page.h"

#include "model/columns.h"
#include "model/prices.h"
#include "report/html_escape.h"

namespace trotix {
namespace {

// A cell as the page shows it; a price that does not exist reads as a dash.
std::string Shown(const Table& REP, int row, int col) {
  return HoldsNoPrice(REP, row, col) ? "&mdash;" : HtmlEscape(REP.Text(row, col));
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

}  // namespace

std::vector<std::string> ReportLines(const Table& REP) {
  if (REP.RowCount() == 0) return {};
  std::vector<std::string> lines = {
      "<table border=1>",
      "<tr bgcolor=#cc0000>",
      "<td align=center><b><font color=#ffff00>Time</td>",
      "<td align=center><b><font color=#ffff00>Course</td>",
      "<td align=center><b><font color=#ffff00>Name Horse</td>",
      "<td align=center><b><font color=#ffff00>Odds</td>",
      "<td align=center><b><font color=#ffff00>System</td>",
      "</tr>",
  };
  lines.reserve(8 + 7 * REP.RowCount());
  for (int r = 0; r < REP.RowCount(); ++r) {
    lines.push_back("<tr>");
    lines.push_back("<td align=center>" + Shown(REP, r, rep::kTime) + "</td>");
    lines.push_back("<td>" + Shown(REP, r, rep::kCourse) + "</td>");
    lines.push_back("<td>" + Shown(REP, r, rep::kName) + "</td>");
    lines.push_back("<td align=center><b>" + Shown(REP, r, rep::kOdds) + "</td>");
    lines.push_back("<td align=center>" + Shown(REP, r, rep::kSystem) + "</td>");
    lines.push_back("</tr>");
  }
  return lines;
}

std::string ReportCsv(const Table& REP) {
  std::string out;
  auto record = [&out](auto field) {
    for (int c = 0; c < rep::kCount; ++c) {
      if (c > 0) out += ',';
      out += CsvField(field(c));
    }
    out += "\r\n";
  };
  record([&REP](int c) { return REP.Columns().at(c).caption; });
  // A price that does not exist leaves its field empty.
  for (int r = 0; r < REP.RowCount(); ++r)
    record([&REP, r](int c) { return HoldsNoPrice(REP, r, c) ? std::string() : REP.Text(r, c); });
  return out;
}

}  // namespace trotix
