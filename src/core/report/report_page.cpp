#include "report/report_page.h"

#include "report/html_escape.h"

namespace trotix {
namespace {

constexpr int kFieldCount = 5;

std::string Escaped(const Table& REP, int row, int col) {
  return HtmlEscape(REP.Text(row, col));
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
    lines.push_back("<td align=center>" + Escaped(REP, r, 0) + "</td>");
    lines.push_back("<td>" + Escaped(REP, r, 1) + "</td>");
    lines.push_back("<td>" + Escaped(REP, r, 2) + "</td>");
    lines.push_back("<td align=center><b>" + Escaped(REP, r, 3) + "</td>");
    lines.push_back("<td align=center>" + Escaped(REP, r, 4) + "</td>");
    lines.push_back("</tr>");
  }
  return lines;
}

std::string ReportCsv(const Table& REP) {
  std::string out;
  auto record = [&out](auto field) {
    for (int c = 0; c < kFieldCount; ++c) {
      if (c > 0) out += ',';
      out += CsvField(field(c));
    }
    out += "\r\n";
  };
  record([&REP](int c) { return REP.Columns().at(c).caption; });
  for (int r = 0; r < REP.RowCount(); ++r) record([&REP, r](int c) { return REP.Text(r, c); });
  return out;
}

}  // namespace trotix
