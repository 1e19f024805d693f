#include "runner_pages.h"

namespace trotix::testing {

std::string RunnerPageHtml(std::string_view onEvent, std::string_view volume,
                           std::string_view priceMatched, std::string_view startingPrice) {
  std::string p = "<html><head><meta charset=\"utf-8\"><title>Runner</title></head><body>\n";
  p += "<div class=\"runnerInfo\">\n";
  p += "<p>Matched on this event: <span class=\"globalBoldedText\">" + std::string(onEvent) +
       "</span></p>\n";
  p += "<p>Runner volume: <b class=\"GlobalBoldedText\">" + std::string(volume) + "</b></p>\n";
  p += "<p>Last price matched: <span class=\"globalBoldedText\">" + std::string(priceMatched) +
       "</span></p>\n";
  p += "<p>Starting price: <span class=\"globalBoldedText\">" + std::string(startingPrice) +
       "</span></p>\n";
  p += "</div></body></html>\n";
  return p;
}

RunnerPageServer::RunnerPageServer() {
  server_.server().Get("/betting/LoadRunnerInfoAction.do", [this](const httplib::Request& req,
                                                                  httplib::Response& res) {
    std::lock_guard lock(mutex_);
    ++requests_;
    const auto it =
        pages_.find({req.get_param_value("marketId"), req.get_param_value("selectionId")});
    if (it == pages_.end()) {
      res.status = 404;
      return;
    }
    res.set_content(it->second, "text/html; charset=utf-8");
  });
  server_.Start();
}

void RunnerPageServer::Put(const std::string& marketId, const std::string& selectionId,
                           std::string page) {
  std::lock_guard lock(mutex_);
  pages_[{marketId, selectionId}] = std::move(page);
}

int RunnerPageServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

PageFetcher BatchFetcher::Fetcher() {
  return [this](const std::vector<std::string>& urls) {
    ++batches;
    std::vector<std::string> bodies;
    for (const auto& a : client.GetMany(urls, maxConnections, nullptr))
      bodies.push_back(BodyOrEmpty(a));
    return bodies;
  };
}

}  // namespace trotix::testing
