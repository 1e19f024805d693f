#include "report/report_page.h"

#include "report/html_escape.h"

namespace trotix {
namespace {

constexpr int kFieldCount = 5;

std::string Escaped(const Table& REP, int row, int col) {
  return PageText(REP.Text(row, col));
}

// A signed decimal number, which a spreadsheet reads as a number and never as a formula.
bool IsPlainNumber(std::string_view text) {
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  const auto point = text.find_first_of(".,");
  const auto whole = text.substr(0, point);
  const auto part = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  const auto digits = [](std::string_view s) {
    return s.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return !whole.empty() && digits(whole) && digits(part) &&
         (point == std::string_view::npos || !part.empty());
}

std::string CsvField(std::string text) {
  // A cell a spreadsheet would run as a formula is marked as text.
  if (!text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos &&
      !IsPlainNumber(text))
    text.insert(0, 1, '\'');
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
      std::string(kPageCharset) + "<table border=1>",
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
