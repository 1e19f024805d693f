#include "exchange/runner_info.h"

#include <algorithm>
#include <iterator>

#include "text/fields.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace trotix {
namespace {

constexpr std::string_view kPound = "\xC2\xA3";  // the page is UTF-8

// The labels in the order the page gives them.
constexpr std::string_view kLabels[] = {"on this event", "volume:", "price matched",
                                        "starting price"};

// Walks the page and its lower-cased copy together; both have the same length, so one offset
// serves both and values are cut from the page's own bytes.
class PageScan {
 public:
  explicit PageScan(std::string_view page) : page_(page), lower_(Lower(page)) {}

  // The bold value after label `n`, before the next label; empty when either is missing, so a
  // field never takes another field's value.
  std::string Value(std::size_t n) {
    const auto at = lower_.find(kLabels[n], pos_);
    if (at == std::string::npos) return {};
    pos_ = at + 1;
    std::size_t end = lower_.size();
    for (std::size_t k = n + 1; k < std::size(kLabels); ++k)
      end = std::min(end, lower_.find(kLabels[k], pos_));
    const auto bold = lower_.find("globalboldedtext", pos_);
    if (bold == std::string::npos || bold >= end) return {};
    pos_ = bold + 1;
    if (const auto gt = page_.find('>', pos_); gt != std::string_view::npos) pos_ = gt + 1;
    const auto lt = page_.find('<', pos_);
    if (lt == std::string_view::npos) return {};
    return std::string(page_.substr(pos_, lt - pos_));
  }

 private:
  std::string_view page_;
  std::string lower_;
  std::size_t pos_ = 0;
};

// Digits, alone or in groups of three after the first, split by commas.
bool IsGroupedDigits(std::string_view s) {
  const auto comma = s.find(',');
  const std::size_t head = comma == std::string_view::npos ? s.size() : comma;
  if (head == 0 || (comma != std::string_view::npos && head > 3)) return false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const bool separator = i >= head && (i - head) % 4 == 0;
    if (separator ? s[i] != ',' : (s[i] < '0' || s[i] > '9')) return false;
  }
  return (s.size() - head) % 4 == 0;
}

// An amount loses its pound sign and its thousands separators only when it reads as one; any
// other text ("N/A", "100,000.50", "5,0,0,0") stays as written, which reads as no amount.
std::string CleanAmount(std::string_view raw) {
  std::string t = Trim(raw);
  if (t.starts_with(kPound)) t = Trim(std::string_view(t).substr(kPound.size()));
  return IsGroupedDigits(t) ? ReplaceText(std::move(t), ",", "") : t;
}

std::string ZeroWhenBlank(std::string_view s) {
  std::string t = Trim(s);
  return t.empty() ? "0" : t;
}

}  // namespace

std::string RunnerInfo(std::string_view pageText) {
  PageScan scan(pageText);
  std::string a = CleanAmount(scan.Value(0));
  std::string b = CleanAmount(scan.Value(1));
  std::string c = scan.Value(2);
  std::string d = scan.Value(3);

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
