#include "report/report_page.h"

#include "model/columns.h"
#include "model/prices.h"
#include "report/html_escape.h"
#include "text/encoding.h"
#include "text/fields.h"

namespace trotix {
namespace {

// A cell as the page shows it; a price that does not exist reads as a dash.
std::string Shown(const Table& REP, int row, int col) {
  return HoldsNoPrice(REP, row, col) ? "&mdash;" : PageText(REP.Text(row, col));
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

}  // namespace

std::string CsvField(std::string_view raw) {
  // The file is UTF-8 whatever the vendor sent; a NUL would end the field in many readers.
  std::string text = DisplayUtf8(raw);
  std::erase(text, '\0');
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

std::vector<std::string> ReportLines(const Table& REP, const Date& day) {
  if (REP.RowCount() == 0) return {};
  // The day goes on the first line, so the page keeps its number of lines.
  const std::string date = FormatDate(day);
  std::vector<std::string> lines = {
      std::string(kPageCharset) + "<title>Report " + date + "</title><table border=1><caption>" +
          date + "</caption>",
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

std::string ReportCsv(const Table& REP, const Date& day) {
  std::string out;
  auto record = [&out](std::string_view first, auto field) {
    out += CsvField(first);
    for (int c = 0; c < rep::kCount; ++c) out += ',' + CsvField(field(c));
    out += "\r\n";
  };
  record("Date", [&REP](int c) { return REP.Columns().at(c).caption; });
  const std::string date = FormatDate(day);
  // A price that does not exist leaves its field empty; one that does is written with a point, so
  // that a spreadsheet in any language reads it as a number.
  for (int r = 0; r < REP.RowCount(); ++r)
    record(date, [&REP, r](int c) {
      if (HoldsNoPrice(REP, r, c)) return std::string();
      const std::string& text = REP.Text(r, c);
      return c == rep::kOdds && IsPlainNumber(text) ? ReplaceText(text, ",", ".") : text;
    });
  return out;
}

}  // namespace trotix
