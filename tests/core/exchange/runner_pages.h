#pragma once
// Runner information pages served on loopback, the way the exchange's web site serves them.
#include <httplib.h>

#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

#include "net/http_client.h"

namespace trotix::testing {

// A runner page with the four labelled bold values; each value is placed as given.
std::string RunnerPageHtml(std::string_view onEvent, std::string_view volume,
                           std::string_view priceMatched, std::string_view startingPrice);

// Serves "/betting/LoadRunnerInfoAction.do?marketId=M&selectionId=S..." from the pages put in;
// an unknown market and selection answers 404.
class RunnerPageServer {
 public:
  RunnerPageServer();
  ~RunnerPageServer();
  RunnerPageServer(const RunnerPageServer&) = delete;
  RunnerPageServer& operator=(const RunnerPageServer&) = delete;

  void Put(const std::string& marketId, const std::string& selectionId, std::string page);
  // "http://127.0.0.1:PORT", the exchange site's setting.
  std::string Host() const { return "http://127.0.0.1:" + std::to_string(port_); }
  int Requests() const;

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::map<std::pair<std::string, std::string>, std::string> pages_;
  int requests_ = 0;
};

// Fetches pages one after another with a plain HTTP client; failures give the empty text.
// Counts the batches it was asked for.
struct SequentialFetcher {
  int batches = 0;
  PageFetcher Fetcher();
};

}  // namespace trotix::testing
