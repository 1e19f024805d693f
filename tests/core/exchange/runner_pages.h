#pragma once
// Runner information pages served on loopback, the way the exchange's web site serves them.
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

#include "net/curl_http_client.h"
#include "support/loopback_server.h"

namespace trotix::testing {

// A runner page with the four labelled bold values; each value is placed as given.
std::string RunnerPageHtml(std::string_view onEvent, std::string_view volume,
                           std::string_view priceMatched, std::string_view startingPrice);

// Serves "/betting/LoadRunnerInfoAction.do?marketId=M&selectionId=S..." from the pages put in;
// an unknown market and selection answers 404.
class RunnerPageServer {
 public:
  RunnerPageServer();

  void Put(const std::string& marketId, const std::string& selectionId, std::string page);
  // "http://127.0.0.1:PORT", the exchange site's setting.
  std::string Host() const { return "http://" + server_.Address(); }
  int Requests() const;

 private:
  mutable std::mutex mutex_;
  std::map<std::pair<std::string, std::string>, std::string> pages_;
  int requests_ = 0;
  LoopbackServer server_;  // last: stops before the pages go
};

// Fetches each batch of pages through the libcurl client, at most `maxConnections` at once;
// failures give the empty text. Counts the batches it was asked for.
struct BatchFetcher {
  explicit BatchFetcher(int maxConnections = 8) : maxConnections(maxConnections) {}
  PageFetcher Fetcher();

  CurlHttpClient client;
  int maxConnections;
  int batches = 0;
};

}  // namespace trotix::testing
