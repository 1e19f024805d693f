#include "app/page_batch.h"

#include <algorithm>
#include <memory>

#include "text/strings.h"

namespace trotix {
namespace {

// Curl's time-out texts carry the milliseconds and bytes of each request, and a refused page
// its bound; one word groups each.
std::string Reason(const HttpAnswer& answer) {
  if (Contains(Lower(answer.error), "timed out")) return "timed out";
  if (answer.error.starts_with(kAnswerTooLarge)) return "too large";
  return answer.error.empty() ? "no answer" : answer.error;
}

}  // namespace

void PageFailures::Add(const HttpAnswer& answer) {
  if (answer.stopped) return;
  ++total_;
  if (!answer.failed) return;
  ++failed_;
  const std::string reason = Reason(answer);
  const auto seen = std::find_if(reasons_.begin(), reasons_.end(),
                                 [&](const auto& r) { return r.first == reason; });
  if (seen == reasons_.end()) {
    reasons_.emplace_back(reason, 1);
  } else {
    ++seen->second;
  }
}

std::string PageFailures::Text() const {
  if (failed_ == 0) return {};
  // The first reason seen wins a tie.
  const auto most =
      std::max_element(reasons_.begin(), reasons_.end(),
                       [](const auto& a, const auto& b) { return a.second < b.second; });
  return std::to_string(failed_) + " of " + std::to_string(total_) +
         " runner pages failed: " + most->first;
}

PageFetcher FetchedPages(std::span<const std::string> urls, std::span<std::string> bodies) {
  auto taken = std::make_shared<std::vector<bool>>(urls.size(), false);
  return [urls, bodies, taken](const std::vector<std::string>& asked) {
    std::vector<std::string> out;
    out.reserve(asked.size());
    for (const auto& page : asked) {
      std::size_t i = 0;
      while (i < urls.size() && ((*taken)[i] || urls[i] != page)) ++i;
      if (i == urls.size()) {
        out.emplace_back();
        continue;
      }
      (*taken)[i] = true;
      out.push_back(std::move(bodies[i]));
    }
    return out;
  };
}

}  // namespace trotix
