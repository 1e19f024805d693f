#include "net/curl_http_client.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "net/vendor_urls.h"
#include "support/loopback_server.h"

namespace trotix {
namespace {

using namespace std::chrono_literals;
using ::testing::AllOf;
using testing::ClosedPort;
using ::testing::HasSubstr;
using testing::LoopbackServer;

std::string AllBytes() {
  std::string s;
  for (int i = 0; i < 256; ++i) s += static_cast<char>(i);
  return s + std::string("\0\xff\r\n\0", 5);
}

// `total` bytes of `c` in chunks, no length announced.
void Stream(httplib::Response& res, std::size_t total, char c) {
  res.set_chunked_content_provider("text/plain", [total, c, sent = std::size_t{0}](
                                                     std::size_t, httplib::DataSink& sink) mutable {
    const std::string chunk(std::min<std::size_t>(4096, total - sent), c);
    sent += chunk.size();
    sink.write(chunk.data(), chunk.size());
    if (sent >= total) sink.done();
    return true;
  });
}

class CurlHttpClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& s = srv_.server();
    s.Get("/page", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("page text", "text/plain");
    });
    s.Get("/from",
          [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/hop", 302); });
    s.Get("/hop",
          [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/page", 301); });
    s.Get("/headers", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(req.get_header_value("User-Agent") + "|" + req.get_header_value("Accept") +
                          "|" + req.get_header_value("Content-Type"),
                      "text/plain");
    });
    s.Get("/set", [](const httplib::Request& req, httplib::Response& res) {
      const std::string name = req.has_param("name") ? req.get_param_value("name") : "session";
      res.set_header("Set-Cookie", name + "=v-" + name + "; Path=/");
      res.set_content("set", "text/plain");
    });
    s.Get("/cookie", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content("[" + req.get_header_value("Cookie") + "]", "text/plain");
    });
    s.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
      res.status = 404;
      res.set_content("not here", "text/plain");
    });
    s.Get("/error", [](const httplib::Request&, httplib::Response& res) {
      res.status = 500;
      res.set_content("broken", "text/plain");
    });
    s.Get("/binary", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(AllBytes(), "application/octet-stream");
    });
    s.Get("/stall", [this](const httplib::Request&, httplib::Response& res) {
      ++stalled_;
      srv_.Stall(10s);
      res.set_content("late", "text/plain");
    });
    s.Get(R"(/big/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(std::string(std::stoul(req.matches[1].str()), 'x'), "text/plain");
    });
    // No length announced: the cap must hold while the bytes stream in.
    s.Get(R"(/stream/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
      Stream(res, std::stoul(req.matches[1].str()), 'y');
    });
    // A runner page of `size` bytes, streamed without a length when `chunked`, after `delay` ms.
    s.Get(std::string(kRunnerPagePath), [](const httplib::Request& req, httplib::Response& res) {
      const std::size_t total = std::stoul(req.get_param_value("size"));
      std::this_thread::sleep_for(std::chrono::milliseconds(
          req.has_param("delay") ? std::stoi(req.get_param_value("delay")) : 0));
      if (!req.has_param("chunked")) {
        res.set_content(std::string(total, 'r'), "text/html");
        return;
      }
      Stream(res, total, 'r');
    });
    // Later indices answer sooner, so completion order differs from the order asked.
    s.Get(R"(/slow/(\d+))", [this](const httplib::Request& req, httplib::Response& res) {
      const int i = std::stoi(req.matches[1].str());
      const int now = ++inFlight_;
      int seen = maxInFlight_.load();
      while (now > seen && !maxInFlight_.compare_exchange_weak(seen, now)) {
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10 + 3 * (16 - i % 16)));
      --inFlight_;
      res.set_content("answer " + std::to_string(i) + " [" + req.get_header_value("Cookie") + "]",
                      "text/plain");
    });
    srv_.Start();
  }

  LoopbackServer srv_;
  std::atomic<int> inFlight_{0};
  std::atomic<int> maxInFlight_{0};
  std::atomic<int> stalled_{0};
};

TEST_F(CurlHttpClientTest, OnlyTheFollowingClientFollowsRedirects) {
  auto following = MakeRedirectingClient();
  const HttpAnswer a = following->Get(srv_.Url("/from"));
  EXPECT_FALSE(a.failed) << a.error;
  EXPECT_EQ(a.status, 200);
  EXPECT_EQ(a.body, "page text");

  auto staying = MakeNonRedirectingClient();
  const HttpAnswer b = staying->Get(srv_.Url("/from"));
  EXPECT_TRUE(b.failed);
  EXPECT_EQ(b.status, 302);
  EXPECT_NE(b.error.find("302"), std::string::npos) << b.error;
  EXPECT_EQ(BodyOrEmpty(b), "");
  // A plain page is still fetched by the client that does not follow.
  EXPECT_EQ(BodyOrEmpty(staying->Get(srv_.Url("/page"))), "page text");
}

TEST_F(CurlHttpClientTest, SendsTheThreeFixedHeaders) {
  for (const auto& client : {MakeRedirectingClient(), MakeNonRedirectingClient()}) {
    EXPECT_EQ(BodyOrEmpty(client->Get(srv_.Url("/headers"))),
              "Mozilla/3.0 (compatible; Indy Library)|text/html, */*|text/html");
  }
}

TEST_F(CurlHttpClientTest, CookiesComeBackToTheSameClientOnly) {
  CurlHttpClient client;
  EXPECT_EQ(BodyOrEmpty(client.Get(srv_.Url("/cookie"))), "[]");
  EXPECT_EQ(BodyOrEmpty(client.Get(srv_.Url("/set"))), "set");
  EXPECT_EQ(BodyOrEmpty(client.Get(srv_.Url("/cookie"))), "[session=v-session]");

  CurlHttpClient other;
  EXPECT_EQ(BodyOrEmpty(other.Get(srv_.Url("/cookie"))), "[]");
}

TEST_F(CurlHttpClientTest, CookiesTravelIntoAndOutOfBatches) {
  CurlHttpClient client;
  client.Get(srv_.Url("/set?name=a"));
  const auto answers = client.GetMany(
      {srv_.Url("/slow/0"), srv_.Url("/slow/1"), srv_.Url("/set?name=b"), srv_.Url("/slow/3")}, 1,
      nullptr);
  EXPECT_EQ(BodyOrEmpty(answers[0]), "answer 0 [a=v-a]");
  EXPECT_EQ(BodyOrEmpty(answers[1]), "answer 1 [a=v-a]");
  // Set in the batch, sent by the next request of the same batch and afterwards.
  // Cookie order on the wire is not fixed.
  for (const std::string& text :
       {BodyOrEmpty(answers[3]), BodyOrEmpty(client.Get(srv_.Url("/cookie")))}) {
    EXPECT_THAT(text, AllOf(HasSubstr("a=v-a"), HasSubstr("b=v-b"), HasSubstr("; ")));
  }
}

TEST_F(CurlHttpClientTest, FailuresGiveTheEmptyText) {
  const std::string refused = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/page";
  struct Case {
    std::string url;
    int status;
  };
  const std::vector<Case> cases = {
      {srv_.Url("/missing"), 404},
      {srv_.Url("/error"), 500},
      {refused, 0},
      {"http://bad host/", 0},
  };
  CurlHttpClient client;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    const HttpAnswer a = client.Get(c.url);
    EXPECT_TRUE(a.failed);
    EXPECT_EQ(a.status, c.status);
    EXPECT_FALSE(a.error.empty());
    EXPECT_EQ(BodyOrEmpty(a), "");
  }
}

TEST_F(CurlHttpClientTest, StalledServerHitsTheTimeOut) {
  CurlHttpOptions options;
  options.requestTimeout = 300ms;
  CurlHttpClient client(options);
  const HttpAnswer a = client.Get(srv_.Url("/stall"));
  EXPECT_TRUE(a.failed);
  EXPECT_EQ(a.status, 0);
  EXPECT_NE(a.error.find("imed out"), std::string::npos) << a.error;
  EXPECT_EQ(BodyOrEmpty(a), "");
}

TEST_F(CurlHttpClientTest, BinaryBytesSurvive) {
  CurlHttpClient client;
  const HttpAnswer a = client.Get(srv_.Url("/binary"));
  ASSERT_FALSE(a.failed) << a.error;
  EXPECT_EQ(a.body, AllBytes());
}

TEST_F(CurlHttpClientTest, AnswersOverTheCapFail) {
  CurlHttpOptions options;
  options.maxBodyBytes = 10000;
  CurlHttpClient client(options);
  struct Case {
    std::string path;
    bool failed;
  };
  const std::vector<Case> cases = {
      {"/big/10000", false},   {"/big/10001", true},    {"/big/200000", true},
      {"/stream/9999", false}, {"/stream/10001", true}, {"/stream/300000", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const HttpAnswer a = client.Get(srv_.Url(c.path));
    EXPECT_EQ(a.failed, c.failed) << a.error;
    if (c.failed) {
      EXPECT_TRUE(a.body.empty());
      EXPECT_NE(a.error.find("larger than 10000"), std::string::npos) << a.error;
    } else {
      EXPECT_EQ(a.body.size(), std::stoul(c.path.substr(c.path.rfind('/') + 1)));
    }
  }
  // The default cap is 32 MiB.
  EXPECT_EQ(CurlHttpOptions().maxBodyBytes, 33554432u);
}

// A runner page is refused past 2 MiB while it streams, with or without a length and on a slow
// server too; every other answer keeps the general bound, since the day's card may be larger.
TEST_F(CurlHttpClientTest, RunnerPagesAboveTwoMebibytesFail) {
  constexpr std::size_t kCap = std::size_t{2} << 20;
  struct Case {
    std::string query;
    std::size_t size;
    bool failed;
  };
  const std::vector<Case> cases = {
      {"", kCap, false},
      {"", kCap + 1, true},
      {"&chunked=1", kCap - 1, false},
      {"&chunked=1", kCap + 1, true},
      {"&delay=300", kCap, false},
      {"&delay=300&chunked=1", kCap + 1, true},
  };
  CurlHttpClient client;
  std::vector<std::string> urls;
  for (const auto& c : cases)
    urls.push_back(srv_.Url(std::string(kRunnerPagePath) +
                            "?marketId=1&size=" + std::to_string(c.size) + c.query));
  urls.push_back(srv_.Url("/big/" + std::to_string(3 * kCap)));  // not a runner page
  std::vector<std::size_t> taken(urls.size(), 0);
  const auto answers = client.GetMany(urls, 4, [&](int i, HttpAnswer& answer) {
    taken[i] = std::exchange(answer.body, {}).size();  // the caller takes the body
  });
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(urls[i]);
    EXPECT_EQ(answers[i].failed, cases[i].failed) << answers[i].error;
    EXPECT_EQ(taken[i], cases[i].failed ? 0 : cases[i].size);
    EXPECT_TRUE(answers[i].body.empty()) << "a body taken by the handler stays with it";
    if (cases[i].failed) {
      EXPECT_EQ(answers[i].error, "answer larger than 2097152 bytes");
    }
  }
  EXPECT_FALSE(answers.back().failed) << answers.back().error;
  EXPECT_EQ(taken.back(), 3 * kCap);
}

TEST_F(CurlHttpClientTest, BatchesAnswerInTheOrderAskedWithinTheCap) {
  constexpr int kCount = 16;
  std::vector<std::string> urls;
  for (int i = 0; i < kCount; ++i) urls.push_back(srv_.Url("/slow/" + std::to_string(i)));
  urls.push_back(srv_.Url("/missing"));

  for (const int cap : {1, 8}) {
    SCOPED_TRACE(cap);
    maxInFlight_ = 0;
    CurlHttpClient client;
    std::vector<int> reported;
    std::vector<std::string> streamed(urls.size());
    const auto answers = client.GetMany(urls, cap, [&](int index, const HttpAnswer& answer) {
      reported.push_back(index);
      streamed[index] = answer.body;
    });
    ASSERT_EQ(answers.size(), urls.size());
    for (int i = 0; i < kCount; ++i) {
      EXPECT_FALSE(answers[i].failed) << answers[i].error;
      EXPECT_EQ(answers[i].body, "answer " + std::to_string(i) + " []");
      EXPECT_EQ(streamed[i], answers[i].body);  // each answer is given as it arrives
    }
    EXPECT_TRUE(answers[kCount].failed);
    EXPECT_EQ(answers[kCount].status, 404);

    std::vector<int> sorted = reported;
    std::sort(sorted.begin(), sorted.end());
    std::vector<int> every(urls.size());
    for (std::size_t i = 0; i < every.size(); ++i) every[i] = static_cast<int>(i);
    EXPECT_EQ(sorted, every);  // each answer reported exactly once

    EXPECT_LE(maxInFlight_, cap);
    if (cap == 1) {
      EXPECT_EQ(reported, every);
    } else {
      EXPECT_GT(maxInFlight_, 1);
    }
  }
}

// A gate holds later requests back while others are in flight: behind a stalled first request
// none past the gate starts until it has timed out. A gate that refuses everything still gets
// every answer, one request at a time.
TEST_F(CurlHttpClientTest, AGateHoldsRequestsBackButNeverStallsTheBatch) {
  CurlHttpOptions options;
  options.requestTimeout = 300ms;
  CurlHttpClient client(options);
  std::vector<std::string> urls = {srv_.Url("/stall")};
  for (int i = 1; i < 8; ++i) urls.push_back(srv_.Url("/slow/" + std::to_string(i)));
  const std::vector<std::pair<HttpClient::StartGate, int>> gates = {
      {[](int i) { return i < 3; }, 2}, {[](int) { return false; }, 1}};
  for (const auto& [gate, inFlight] : gates) {
    maxInFlight_ = 0;
    std::vector<int> reported;
    const auto answers = client.GetMany(
        urls, 8, [&](int i, HttpAnswer&) { reported.push_back(i); }, nullptr, gate);
    EXPECT_TRUE(answers[0].failed);
    for (std::size_t i = 1; i < urls.size(); ++i)
      EXPECT_EQ(BodyOrEmpty(answers[i]), "answer " + std::to_string(i) + " []");
    EXPECT_EQ(maxInFlight_, inFlight);
    ASSERT_EQ(reported.size(), urls.size());
    // Requests 3 on waited for the stalled one.
    EXPECT_LT(std::find(reported.begin(), reported.end(), 0),
              std::find(reported.begin(), reported.end(), 3));
  }
}

TEST_F(CurlHttpClientTest, BatchEdgeCases) {
  CurlHttpClient client;
  EXPECT_TRUE(client.GetMany({}, 8, nullptr).empty());
  // A cap below one still makes the requests, one at a time.
  const auto answers = client.GetMany({srv_.Url("/slow/1"), srv_.Url("/slow/2")}, 0, nullptr);
  EXPECT_EQ(BodyOrEmpty(answers[0]), "answer 1 []");
  EXPECT_EQ(BodyOrEmpty(answers[1]), "answer 2 []");
  EXPECT_EQ(maxInFlight_, 1);

  // The progress callback may use the same client for another request.
  std::vector<std::string> nested;
  const auto outer =
      client.GetMany({srv_.Url("/page"), srv_.Url("/binary")}, 2, [&](int i, const HttpAnswer&) {
        nested.push_back(BodyOrEmpty(client.Get(srv_.Url("/slow/" + std::to_string(i)))));
      });
  EXPECT_EQ(BodyOrEmpty(outer[0]), "page text");
  EXPECT_EQ(BodyOrEmpty(outer[1]), AllBytes());
  std::sort(nested.begin(), nested.end());
  EXPECT_EQ(nested, (std::vector<std::string>{"answer 0 []", "answer 1 []"}));
}

// A stop ends a batch at once: the transfers in flight are dropped, the queued ones never start,
// and nothing is reported for either. The same holds for a deadline, a single request and a probe.
TEST_F(CurlHttpClientTest, StopEndsABatchAtOnce) {
  using Clock = StopSignal::Clock;
  CurlHttpClient client;
  std::vector<std::string> urls = {srv_.Url("/page")};
  for (int i = 0; i < 8; ++i) urls.push_back(srv_.Url("/stall"));

  StopSignal stop;
  std::thread user;
  Clock::time_point cancelled;
  std::vector<int> reported;
  const auto answers = client.GetMany(
      urls, 4,
      [&](int index, const HttpAnswer&) {
        reported.push_back(index);
        // Cancel comes from another thread while the batch waits on the stalled answers.
        user = std::thread([&] {
          std::this_thread::sleep_for(100ms);
          cancelled = Clock::now();
          stop.Cancel();
        });
      },
      &stop);
  const auto ended = Clock::now();
  user.join();
  EXPECT_LT(ended - cancelled, 1s);
  EXPECT_EQ(reported, std::vector<int>{0});
  EXPECT_FALSE(answers[0].failed);
  for (std::size_t i = 1; i < urls.size(); ++i) {
    EXPECT_TRUE(answers[i].failed && answers[i].stopped) << i;
    EXPECT_EQ(answers[i].error, "stopped");
  }
  const int asked = stalled_;
  EXPECT_LE(asked, 4);  // the cap: the queued requests never started
  // A raised signal stops the next request before it leaves.
  EXPECT_TRUE(client.Get(srv_.Url("/page"), &stop).stopped);
  EXPECT_EQ(client.Probe(srv_.Url("/page"), &stop), ProbeResult::Unreachable);

  // A deadline ends the batch, the single request and the probe the same way.
  StopSignal timed;
  timed.SetDeadline(Clock::now() + 200ms);
  const auto late = client.GetMany(urls, 4, nullptr, &timed);
  EXPECT_TRUE(late[1].stopped);
  EXPECT_EQ(late[0].body, "page text");
  timed.SetDeadline(Clock::now() + 200ms);
  EXPECT_TRUE(client.Get(srv_.Url("/stall"), &timed).stopped);
  timed.SetDeadline(Clock::now() + 200ms);
  const auto probing = Clock::now();
  EXPECT_EQ(client.Probe(srv_.Url("/stall"), &timed), ProbeResult::Unreachable);
  EXPECT_LT(Clock::now() - probing, 1s);
  EXPECT_TRUE(timed.expired() && !timed.cancelled());

  // No request leaves after a stopped call has returned.
  const int before = stalled_;
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(stalled_, before);
  // The client still works for the next command.
  EXPECT_EQ(BodyOrEmpty(client.Get(srv_.Url("/page"))), "page text");
}

// Threads and lifetimes: a client has one thread inside it at a time. A hand-over between
// threads and a nested call from a batch's callback are fine; a second thread entering while
// the first waits on a stalled answer aborts with a message that says so.
TEST_F(CurlHttpClientTest, ASecondThreadInsideAClientAbortsLoudly) {
  CurlHttpClient client;
  std::string nested;
  client.GetMany({srv_.Url("/page")}, 1,
                 [&](int, const HttpAnswer&) { nested = client.Get(srv_.Url("/page")).body; });
  EXPECT_EQ(nested, "page text");
  std::thread([&] { EXPECT_EQ(client.Get(srv_.Url("/page")).body, "page text"); }).join();
  std::string why;
  EXPECT_EQ(client.ProbeExplained(srv_.Url("/page"), why), ProbeResult::Present);

  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto twoThreads = [&](bool probe) {
    CurlHttpOptions slow;
    slow.requestTimeout = 3s;
    CurlHttpClient shared(slow);
    std::thread first([&] { shared.Get(srv_.Url("/stall")); });
    std::this_thread::sleep_for(300ms);
    if (probe)
      shared.Probe(srv_.Url("/page"));
    else
      shared.Get(srv_.Url("/page"));
    first.join();
  };
  EXPECT_DEATH(twoThreads(false), "a second thread entered an HTTP client");
  EXPECT_DEATH(twoThreads(true), "a second thread entered an HTTP client");
}

}  // namespace
}  // namespace trotix
