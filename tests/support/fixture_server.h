#pragma once
// A loopback server answering fixed texts per path, for small hand-written fixtures. It records
// every request (path and query) so tests can see what was sent.
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "support/loopback_server.h"

namespace trotix::testing {

class FixtureServer {
 public:
  struct Answer {
    int status = 200;
    std::string body;
  };

  FixtureServer() {
    server_.server().Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
      std::lock_guard lock(mutex_);
      std::string target = req.path;
      if (!req.params.empty()) {
        std::string query;
        for (const auto& [k, v] : req.params) query += (query.empty() ? "" : "&") + k + "=" + v;
        target += "?" + query;
      }
      requests_.push_back(target);
      auto it = answers_.find(req.path);
      if (it == answers_.end()) {
        res.status = 404;
        return;
      }
      res.status = it->second.status;
      res.set_content(it->second.body, "text/plain");
    });
    server_.Start();
  }

  void Set(const std::string& path, std::string body, int status = 200) {
    std::lock_guard lock(mutex_);
    answers_[path] = {status, std::move(body)};
  }
  void Remove(const std::string& path) {
    std::lock_guard lock(mutex_);
    answers_.erase(path);
  }
  std::vector<std::string> Requests() {
    std::lock_guard lock(mutex_);
    return requests_;
  }
  std::string Base() const { return "http://" + server_.Address(); }

 private:
  LoopbackServer server_;
  std::mutex mutex_;
  std::map<std::string, Answer> answers_;
  std::vector<std::string> requests_;
};

}  // namespace trotix::testing
