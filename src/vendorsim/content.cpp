#include "vendorsim/content.h"

#include <algorithm>
#include <string_view>

#include "net/vendor_urls.h"
#include "report/html_escape.h"
#include "text/dates.h"
#include "vendorsim/formats.h"
#include "vendorsim/generator.h"
#include "vendorsim/zorvat_files.h"

namespace trotix::vendorsim {
namespace {

std::string Param(const QueryParams& params, const std::string& key) {
  const auto it = params.find(key);
  return it == params.end() ? std::string() : it->second;
}

Answer Html(std::string body) {
  return {200, "text/html; charset=utf-8", std::move(body)};
}

Answer NotFound() {
  return {404, "text/plain", "Not Found"};
}

const char* const kIndex =
    "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Trotix demo vendor</title>"
    "</head><body>\n<h1>Trotix demo vendor server</h1>\n<p>Stands in for the vendor's data "
    "server, the vendor's web site and the exchange's runner pages. Sign in with demo / demo."
    "</p>\n</body></html>\n";

const char* const kUpdatePage =
    "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Trotix downloads</title>"
    "</head><body>\n<h1>Trotix</h1>\n<p>The current release is 3.8.</p>\n</body></html>\n";

}  // namespace

SimContent::SimContent(ContentOptions options) : options_(std::move(options)) {
  for (int back = 0; back <= options_.resultDaysBefore; ++back)
    days_.push_back(GenerateDay(options_.seed, AddDays(options_.date, -back), options_.races));
  const Day& today = days_.front();

  files_["/horse/zabeg.txt"] = CourseTableText();
  files_["/refresh/trotix" + std::string(kVersion) + ".txt"] = std::string(kVersion) + "\r\n";
  files_["/bc/tipsters.xml"] = TipsText(today);
  files_["/bc/move.xml"] = MovesText(today);
  files_["/file/tx" + FormatDate(today.date) + ".txt"] = IndicatorText(today);
  files_["/zorvat/processbasa.txt"] = ProcessBaseText(options_.seed);
  files_["/zorvat/score.txt"] = ScoreBaseText(options_.seed);
  files_["/zorvat/dvbasa.txt"] = DayValuesText(options_.seed);
  files_["/login/trotix.php"] = DayDataText(today);

  for (const Race& race : today.races) {
    if (!race.onExchange()) continue;
    for (const Runner& r : race.runners) {
      if (!r.onExchange()) continue;
      runnerPages_[race.winMarket + "/" + r.selectionId] = RunnerPageHtml(race, r, false);
      runnerPages_[race.placeMarket + "/" + r.selectionId] = RunnerPageHtml(race, r, true);
    }
  }
  for (const Day& d : days_) {
    std::string text = ResultsText(d, options_.linkBase);
    if (!text.empty()) results_[FormatDate(d.date)] = std::move(text);
    for (std::size_t i = 0; i < d.races.size(); ++i)
      resultPages_[ResultPagePath(d, i)] = ResultPageHtml(d, i);
  }
}

bool SimContent::KnownAccount(const std::string& login, const std::string& password) const {
  if (login == "demo" && password == "demo") return true;
  for (const auto& [l, p] : options_.accounts)
    if (l == login && p == password) return true;
  return false;
}

namespace {

// `page` followed by a comment that brings it to `size` bytes; a page as large already is left
// as it is.
std::string Padded(const std::string& page, std::size_t size) {
  constexpr std::string_view kOpen = "\n<!-- ", kClose = " -->\n";
  if (size < page.size() + kOpen.size() + kClose.size()) return page;
  std::string out;
  out.reserve(size);
  out += page;
  out += kOpen;
  constexpr std::string_view kLine = "padding of the demo server's runner page\n";
  for (std::size_t left = size - out.size() - kClose.size(); left > 0;) {
    const std::size_t n = std::min(left, kLine.size());
    out += kLine.substr(0, n);
    left -= n;
  }
  out += kClose;
  return out;
}

}  // namespace

Answer SimContent::RunnerPage(const QueryParams& params) const {
  const auto it = runnerPages_.find(Param(params, "marketId") + "/" + Param(params, "selectionId"));
  if (it == runnerPages_.end()) return NotFound();
  return Html(Padded(it->second, options_.padRunnerPages));
}

Answer SimContent::Results(const QueryParams& params) const {
  const auto it = results_.find(Param(params, "date"));
  // A date without results answers with nothing at all.
  return {200, "text/html; charset=windows-1251", it == results_.end() ? "" : it->second};
}

Answer SimContent::Get(const std::string& path, const QueryParams& params) const {
  if (path == "/login/trotix.php") {
    if (!KnownAccount(Param(params, "login"), Param(params, "pass")))
      return {200, "text/html", "Fail..."};
    return {200, "text/html; charset=windows-1251", files_.at(path)};
  }
  if (path == "/betting/LoadRunnerInfoAction.do") return RunnerPage(params);
  if (path == "/horse/rez.php") return Results(params);
  if (const auto it = files_.find(path); it != files_.end()) {
    const bool xml = path.ends_with(".xml");
    return {200, xml ? "text/xml" : "text/plain", it->second};
  }
  if (const auto it = resultPages_.find(path); it != resultPages_.end()) return Html(it->second);
  if (path == "/" || path == "/index.html") return Html(kIndex);
  if (path == "/index.php") return Html(kUpdatePage);
  if (path == "/GetPlayer.do")
    return Html(
        "<!DOCTYPE html>\n<html><body style=\"background:#000;color:#fff\"><p>Live video "
        "of market " +
        HtmlEscape(Param(params, "mID")) + "</p></body></html>\n");
  if (path.starts_with("/exchange/plus/horse-racing/market/"))
    return Html("<!DOCTYPE html>\n<html><body><p>Market " +
                HtmlEscape(path.substr(path.find_last_of('/') + 1)) + "</p></body></html>\n");
  return NotFound();
}

}  // namespace trotix::vendorsim
