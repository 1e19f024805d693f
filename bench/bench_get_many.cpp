// Sixteen requests to a loopback server that takes 200 ms per answer, one connection at a time
// and eight at once.
#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "net/curl_http_client.h"

namespace {

double TimeBatch(const std::vector<std::string>& urls, int connections) {
  trotix::CurlHttpClient client;
  const auto start = std::chrono::steady_clock::now();
  const auto answers = client.GetMany(urls, connections, nullptr);
  const auto end = std::chrono::steady_clock::now();
  for (const auto& a : answers) {
    if (a.failed) std::fprintf(stderr, "request failed: %s\n", a.error.c_str());
  }
  return std::chrono::duration<double>(end - start).count();
}

}  // namespace

int main() {
  httplib::Server server;
  server.new_task_queue = [] { return new httplib::ThreadPool(16); };
  server.set_keep_alive_timeout(1);
  server.set_tcp_nodelay(true);
  server.Get(R"(/page/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    res.set_content("page " + req.matches[1].str(), "text/plain");
  });
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread thread([&] { server.listen_after_bind(); });

  std::vector<std::string> urls;
  for (int i = 0; i < 16; ++i)
    urls.push_back("http://127.0.0.1:" + std::to_string(port) + "/page/" + std::to_string(i));

  const double one = TimeBatch(urls, 1);
  const double eight = TimeBatch(urls, 8);
  std::printf("16 requests, 200 ms each\n");
  std::printf("1 connection:  %.3f s\n", one);
  std::printf("8 connections: %.3f s\n", eight);
  std::printf("ratio:         %.2f\n", one / eight);

  server.stop();
  thread.join();
  return 0;
}
