#include "report/html_escape.h"

#include "text/encoding.h"

namespace trotix {

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string PageText(std::string_view text) {
  return HtmlEscape(DisplayUtf8(text));
}

}  // namespace trotix
