#include "runner_pages.h"

#include <stdexcept>

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
  server_.Get("/betting/LoadRunnerInfoAction.do", [this](const httplib::Request& req,
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
  port_ = server_.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("no loopback port");
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  while (!server_.is_running()) std::this_thread::yield();
}

RunnerPageServer::~RunnerPageServer() {
  server_.stop();
  thread_.join();
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

PageFetcher SequentialFetcher::Fetcher() {
  return [this](const std::vector<std::string>& urls) {
    ++batches;
    std::vector<std::string> bodies;
    for (const auto& url : urls) {
      // "http://host:port" then the path and query.
      const auto pathStart = url.find('/', url.find("://") + 3);
      httplib::Client client(url.substr(0, pathStart));
      const auto res = client.Get(url.substr(pathStart));
      bodies.push_back(res && res->status == 200 ? res->body : std::string());
    }
    return bodies;
  };
}

}  // namespace trotix::testing
