#include "exchange/runner_info.h"

#include "text/fields.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace trotix {
namespace {

constexpr std::string_view kPound = "\xC2\xA3";  // the page is UTF-8

// Walks the page and its lower-cased copy together; both have the same length, so one offset
// serves both and values are cut from the page's own bytes.
class PageScan {
 public:
  explicit PageScan(std::string_view page) : page_(page), lower_(Lower(page)) {}

  // The next bold value after `label`.
  std::string Value(std::string_view label) {
    SkipInto(label);
    SkipInto("globalboldedtext");
    if (const auto gt = page_.find('>', pos_); gt != std::string_view::npos) pos_ = gt + 1;
    const auto lt = page_.find('<', pos_);
    if (lt == std::string_view::npos) return {};
    return std::string(page_.substr(pos_, lt - pos_));
  }

 private:
  // Moves one byte past the start of the match; an absent text leaves the position alone.
  void SkipInto(std::string_view lowerText) {
    if (const auto p = lower_.find(lowerText, pos_); p != std::string::npos) pos_ = p + 1;
  }

  std::string_view page_;
  std::string lower_;
  std::size_t pos_ = 0;
};

std::string ZeroWhenBlank(std::string_view s) {
  std::string t = Trim(s);
  return t.empty() ? "0" : t;
}

}  // namespace

std::string RunnerInfo(std::string_view pageText) {
  PageScan scan(pageText);
  std::string a = scan.Value("on this event");
  std::string b = scan.Value("volume:");
  std::string c = scan.Value("price matched");
  std::string d = scan.Value("starting price");

  a = ReplaceText(ReplaceText(std::move(a), kPound, ""), ",", "");
  b = ReplaceText(ReplaceText(std::move(b), kPound, ""), ",", "");
  c = ReplaceText(std::move(c), ".", ",");
  d = ReplaceText(std::move(d), ".", ",");

  d = FormatFixed(ParseDecimal(d).value_or(5000), 2);
  a = ZeroWhenBlank(a);
  b = ZeroWhenBlank(b);
  c = ZeroWhenBlank(c);
  // A price of one thousand carries a thousands separator on the page.
  if (c == "1,000,00") c = "1000";
  return a + ">>" + b + ">>" + c + ">>" + Trim(d) + ">>";
}

}  // namespace trotix
