#include "report/video_page.h"

#include "model/columns.h"
#include "report/html_escape.h"

namespace trotix {
namespace {

// Non-runners stay off the runner line; "NR " with a blank is a runner number like any other.
std::string RunnerLine(const Table& TAB) {
  std::string line;
  for (int r = 0; r < TAB.RowCount(); ++r) {
    const std::string& number = TAB.At(r, tab::kNumber).text;
    if (number == kNonRunner) continue;
    line += "<span class=pic>" + PageText(number) + "</span>&nbsp;" +
            PageText(TAB.At(r, tab::kName).text) + "&nbsp;&nbsp;";
  }
  return line;
}

}  // namespace

std::vector<std::string> VideoPageLines(const Workspace& ws, const std::string& playerAddress) {
  return {
      std::string(kPageCharset) +
          "<title>Trotix Video</title><table OnMouseOver=\"brandclick = false;\" "
          "OnMouseOut=\"brandclick = true;\" style=\"margin-top: 5px; margin-bottom: 5px;\" "
          "width=600 align=\"center\" cellpadding=10 cellspacing=1 bgcolor=\"#aaaaaa\" "
          "id=\"playerblock\">",
      "<style type=\"text/css\">.pic{ display: inline-block;background: #800000;color: "
      "#ffffff;text-align: center;border-radius: 50%; padding: .3em .65em;}</style>",
      "<tr><td bgcolor=\"#000000\" align=\"center\"><font color=#ffffff>",
      "Time: " + PageText(ws.u1) + " | " + PageText(ws.u2) + " | " + PageText(ws.u6) + " | " +
          PageText(ws.u7),
      "<br><font color=#ffff00><b>",
      RunnerLine(ws.TAB),
      "<hr color=#ffff00>",
      "<div style=\"overflow: hidden; width: 600px; height: 400px; position: relative;\">",
      "<iframe allowFullScreen=\"true\" src=\"" + HtmlEscape(playerAddress) +
          "\" style=\"position: absolute; left: -0px; top: -2px;\" width=\"600\" height=\"400\" "
          "frameborder=\"0\" scrolling=\"no\"></iframe>",
      "</div>",
      "</tr>",
      "</table>",
  };
}

}  // namespace trotix
