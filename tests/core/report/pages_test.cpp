#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "net/vendor_urls.h"
#include "report/html_escape.h"
#include "report/report_page.h"
#include "report/save_file.h"
#include "report/video_page.h"
#include "support/temp_folder.h"
#include "text/strings.h"

namespace trotix {
namespace {

Table Report(const std::vector<std::vector<std::string>>& rows) {
  Table rep = Workspace().REP;
  for (const auto& row : rows) {
    const int r = rep.AddRow();
    for (int c = 0; c < 5; ++c) rep.SetText(r, c, row[c]);
  }
  return rep;
}

const Date kDay{2026, 12, 9};

std::string Csv(const Table& rep) {
  return ReportCsv(rep, kDay);
}

TEST(HtmlEscape, TheFourCharacters) {
  EXPECT_EQ(HtmlEscape("A&B <C> \"D\" 'E'"), "A&amp;B &lt;C&gt; &quot;D&quot; 'E'");
  EXPECT_EQ(HtmlEscape(""), "");
}

TEST(ReportLines, EmptyReportHasNoPage) {
  EXPECT_TRUE(ReportLines(Report({}), kDay).empty());
}

TEST(ReportLines, TwoRowsMakeEightPlusFourteenLines) {
  const Table rep = Report({{"13:30", "Ascot", "Fish & Chips", "3,5", "MySystem"},
                            {"14:05", "Sha Tin", "<Gold>", "", "\xcf\xf0\xe8\xe7"}});
  const auto lines = ReportLines(rep, kDay);
  ASSERT_EQ(lines.size(), 8u + 14u);
  // The charset and the day are on the first line, so the lines stay as many.
  EXPECT_EQ(lines[0],
            "<meta charset=\"utf-8\"><title>Report 09.12.2026</title><table "
            "border=1><caption>09.12.2026</caption>");
  EXPECT_EQ(lines[1], "<tr bgcolor=#cc0000>");
  EXPECT_EQ(lines[4], "<td align=center><b><font color=#ffff00>Name Horse</td>");
  EXPECT_EQ(lines[7], "</tr>");
  const std::vector<std::string> first = {"<tr>",
                                          "<td align=center>13:30</td>",
                                          "<td>Ascot</td>",
                                          "<td>Fish &amp; Chips</td>",
                                          "<td align=center><b>3,5</td>",
                                          "<td align=center>MySystem</td>",
                                          "</tr>"};
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 8, lines.begin() + 15), first);
  EXPECT_EQ(lines[18], "<td>&lt;Gold&gt;</td>");
  EXPECT_EQ(lines[19], "<td align=center><b>&mdash;</td>");  // no price: a dash
  EXPECT_EQ(lines[20], "<td align=center>\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB7</td>");  // Приз
  EXPECT_EQ(lines.back(), "</tr>");

  testing::TempFolder dir;
  const auto path = dir.path() / kReportFileName;
  ASSERT_EQ(SaveTextFile(path, lines, "\r\n"), "");
  const std::string bytes = testing::ReadFile(path);
  EXPECT_EQ(SplitLines(bytes), lines);
  std::size_t crlf = 0;
  for (std::size_t p = bytes.find("\r\n"); p != std::string::npos; p = bytes.find("\r\n", p + 2))
    ++crlf;
  EXPECT_EQ(crlf, 22u);
  EXPECT_TRUE(bytes.ends_with("</tr>\r\n"));
}

TEST(ReportCsv, QuotingAndLineEnds) {
  const Table rep = Report({{"13:30", "Ascot", "Say \"Hi\", Al", "3,5", "MySystem"},
                            {"14:05", "Zürich", "Two\nLines", "", "Best Rank"},
                            {"15:40", "Ascot", "Dune", "5000", "Best Recoming"}});
  EXPECT_EQ(Csv(rep),
            "Date,Time,Course,Name Horse,Odds,System\r\n"
            "09.12.2026,13:30,Ascot,\"Say \"\"Hi\"\", Al\",3.5,MySystem\r\n"
            "09.12.2026,14:05,Zürich,\"Two\nLines\",,Best Rank\r\n"
            "09.12.2026,15:40,Ascot,Dune,,Best Recoming\r\n");  // 5000: no price, an empty field
  EXPECT_EQ(Csv(Report({})), "Date,Time,Course,Name Horse,Odds,System\r\n");
}

// A price reads as a number in any spreadsheet: written with a point, whichever the vendor used;
// none (no number, 0 or 5000) leaves the field empty.
TEST(ReportCsv, PricesAreWrittenWithAPoint) {
  const std::pair<std::string, std::string> cases[] = {
      {"3,55", "3.55"}, {"6,2", "6.2"}, {"2.80", "2.80"}, {"12", "12"}, {"1,01", "1.01"},
      {"1000", "1000"}, {"9/2", ""},    {"5000", ""},     {"0", ""},
  };
  for (const auto& [cell, field] : cases) {
    const std::string csv = Csv(Report({{"13:30", "Ascot", "Dune", cell, "X"}}));
    EXPECT_EQ(csv.substr(csv.find("\r\n") + 2), "09.12.2026,13:30,Ascot,Dune," + field + ",X\r\n")
        << cell;
  }
}

// The file is UTF-8 whatever the vendor's bytes; NUL never reaches it.
TEST(ReportCsv, TextIsUtf8WithoutNul) {
  struct Case {
    std::string cell, field;
  };
  const Case cases[] = {
      {std::string("Du\0ne", 5), "Dune"},
      {std::string("\0", 1), ""},
      {"\xCC\xEE\xF1\xEA\xE2\xE0",
       "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0"},  // windows-1251
      {"Z\xC3\xBCrich", "Z\xC3\xBCrich"},                    // UTF-8 already
  };
  for (const Case& c : cases) {
    const std::string csv = Csv(Report({{"13:30", c.cell, "Dune", "", ""}}));
    EXPECT_EQ(csv.substr(csv.find("\r\n") + 2), "09.12.2026,13:30," + c.field + ",Dune,,\r\n")
        << c.field;
    EXPECT_EQ(csv.find('\0'), std::string::npos);
  }
}

TEST(ReportCsv, CellsASpreadsheetWouldRunStayText) {
  const std::pair<std::string, std::string> cases[] = {
      {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
      {"+cmd|' /C calc'!A0", "'+cmd|' /C calc'!A0"},
      {"-2+3", "'-2+3"},
      {"@SUM(A1)", "'@SUM(A1)"},
      {"\tTab", "'\tTab"},
      {"\rx", "\"'\rx\""},
      {"-5", "-5"},  // numbers stay numbers
      {"+3", "+3"},
      {"-1,5", "\"-1,5\""},
      {"-0.25", "-0.25"},
      {"-", "'-"},
      {"a=b", "a=b"},
  };
  for (const auto& [cell, field] : cases) {
    const std::string csv = Csv(Report({{"13:30", "Ascot", cell, "", ""}}));
    EXPECT_EQ(csv.substr(csv.find("\r\n") + 2), "09.12.2026,13:30,Ascot," + field + ",,\r\n")
        << cell;
  }
}

Workspace RaceWithRunners(const std::vector<std::pair<std::string, std::string>>& runners) {
  Workspace ws;
  ws.u1 = "13:30";
  ws.u2 = "Course: Ascot";
  ws.u6 = "Distance: 1m2f";
  ws.u7 = "Type: Good  Class <5>";
  for (const auto& [number, name] : runners) {
    const int r = ws.TAB.AddRow();
    ws.TAB.SetText(r, 0, number);
    ws.TAB.SetText(r, 1, name);
  }
  return ws;
}

TEST(VideoPageLines, TwelveLinesWithHeadingRunnersAndPlayer) {
  const Workspace ws =
      RaceWithRunners({{"1", "Alpha"}, {"NR", "Gone"}, {"NR ", "Still Here"}, {"4", "A&B"}});
  const VendorUrls urls(Hosts{});
  const auto lines = VideoPageLines(ws, urls.VideoPlayer("123456"));
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_TRUE(lines[0].starts_with(
      "<meta charset=\"utf-8\"><title>Trotix Video</title><table OnMouseOver="));
  EXPECT_TRUE(lines[0].ends_with("id=\"playerblock\">"));
  EXPECT_EQ(lines[3], "Time: 13:30 | Course: Ascot | Distance: 1m2f | Type: Good  Class &lt;5&gt;");
  EXPECT_EQ(lines[5],
            "<span class=pic>1</span>&nbsp;Alpha&nbsp;&nbsp;"
            "<span class=pic>NR </span>&nbsp;Still Here&nbsp;&nbsp;"
            "<span class=pic>4</span>&nbsp;A&amp;B&nbsp;&nbsp;");
  EXPECT_EQ(lines[8],
            "<iframe allowFullScreen=\"true\" "
            "src=\"https://videoplayer.betfair.com/GetPlayer.do?tr=1&amp;mID=1.123456&amp;"
            "allowPopup=false\" style=\"position: absolute; left: -0px; top: -2px;\" "
            "width=\"600\" height=\"400\" frameborder=\"0\" scrolling=\"no\"></iframe>");
  EXPECT_EQ(lines[11], "</table>");
}

TEST(VideoPageLines, AllNonRunnersLeaveTheRunnerLineEmpty) {
  const auto lines = VideoPageLines(RaceWithRunners({{"NR", "A"}, {"NR", "B"}}), "x\"y");
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[4], "<br><font color=#ffff00><b>");
  EXPECT_EQ(lines[6], "<hr color=#ffff00>");
  EXPECT_NE(lines[8].find("src=\"x&quot;y\""), std::string::npos);
}

TEST(IsWebAddress, OnlyHttpAndHttps) {
  struct Case {
    const char* url;
    bool web;
  };
  const Case cases[] = {{"http://a.b/c", true},        {"HTTPS://a.b", true},
                        {"file:///etc/passwd", false}, {"javascript:alert(1)", false},
                        {"C:\\report.html", false},    {"", false},
                        {"ftp://a.b", false},          {" http://a.b", false}};
  for (const auto& c : cases) EXPECT_EQ(IsWebAddress(c.url), c.web) << c.url;
}

}  // namespace
}  // namespace trotix
