#pragma once
// What every path answers: all files generated once from the options, looked up per request.
// Knows nothing of sockets; the server adds latency and faults around it.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "vendorsim/sim_day.h"

namespace trotix::vendorsim {

struct Answer {
  int status = 200;
  std::string contentType = "text/plain";
  std::string body;
};

struct ContentOptions {
  uint64_t seed = 1;
  Date date;
  int races = 40;
  // Signs in besides the demo account, which always does.
  std::vector<std::pair<std::string, std::string>> accounts;
  // Scheme and host the result links point at.
  std::string linkBase = "http://www.trotix.com";
  // Results are published for the served date and this many days before it.
  int resultDaysBefore = 3;
  // Runner pages grow to this many bytes with an HTML comment at their end (0: as generated),
  // to try a client with large pages; added as each page is served, so the server stays small.
  std::size_t padRunnerPages = 0;
};

using QueryParams = std::multimap<std::string, std::string>;  // decoded

class SimContent {
 public:
  explicit SimContent(ContentOptions options);

  // `path` without the query; `params` already percent-decoded.
  Answer Get(const std::string& path, const QueryParams& params) const;

  const Day& day() const { return days_.front(); }
  const ContentOptions& options() const { return options_; }

 private:
  Answer RunnerPage(const QueryParams& params) const;
  Answer Results(const QueryParams& params) const;
  bool KnownAccount(const std::string& login, const std::string& password) const;

  ContentOptions options_;
  std::vector<Day> days_;  // the served date first, then the days before it
  std::unordered_map<std::string, std::string> files_;        // by path
  std::unordered_map<std::string, std::string> runnerPages_;  // by "market/selection"
  std::unordered_map<std::string, std::string> results_;      // by date text
  std::unordered_map<std::string, std::string> resultPages_;  // by path
};

}  // namespace trotix::vendorsim
