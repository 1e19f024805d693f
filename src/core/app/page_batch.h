#pragma once
// Runner pages fetched ahead of the analysis that reads them, and what is said about those that
// failed.
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "net/http_client.h"

namespace trotix {

// The failed pages of one command, said in one line: "12 of 32 runner pages failed: timed out".
// Pages a stop ended are not counted: they were given up, not refused.
class PageFailures {
 public:
  void Add(const HttpAnswer& answer);
  int failed() const { return failed_; }
  int total() const { return total_; }
  // The most frequent reason; empty when no page failed.
  std::string Text() const;

 private:
  int total_ = 0, failed_ = 0;
  std::vector<std::pair<std::string, int>> reasons_;  // in the order first seen
};

// Serves the pages `urls` with their `bodies` (same order) to an analysis, without a request; a
// page it was not given reads as the empty text. Each body is handed over, not copied, the first
// time its page is asked for, so a race of large pages is held once; a page listed twice is asked
// for twice. Both must outlive the fetcher.
PageFetcher FetchedPages(std::span<const std::string> urls, std::span<std::string> bodies);

}  // namespace trotix
