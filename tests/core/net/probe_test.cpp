#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "net/curl_http_client.h"
#include "support/loopback_server.h"

namespace trotix {
namespace {

using namespace std::chrono_literals;
using testing::ClosedPort;
using testing::LoopbackServer;

TEST(ProbeAddressTest, PutsTheSchemeInFrontOnlyWhenNoneIsThere) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"127.0.0.1:8080/path", "http://127.0.0.1:8080/path"},
      {"data.trotix.com/refresh/trotix3.8.txt", "http://data.trotix.com/refresh/trotix3.8.txt"},
      {"http://x/y", "http://x/y"},
      {"HTTP://x/y", "HTTP://x/y"},
      {"Http://x", "Http://x"},
      {"https://x/y", "https://x/y"},
      {"HTTPS://x/y", "HTTPS://x/y"},
      // Only a scheme at the start counts.
      {"go?to=http://x", "http://go?to=http://x"},
      {"x/https://y", "http://x/https://y"},
      {"", "http://"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(ProbeAddress(in), out) << in;
}

class ProbeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& s = srv_.server();
    auto status = [](int code) {
      return [code](const httplib::Request&, httplib::Response& res) {
        res.status = code;
        res.set_content("body " + std::to_string(code), "text/plain");
      };
    };
    s.Get("/ok", status(200));
    s.Get("/found", status(302));  // no Location: nothing to follow
    s.Get("/missing", status(404));
    s.Get("/error", status(500));
    s.Get("/created", status(201));
    // Redirects carry a short page, as most servers send one.
    auto redirect = [](std::string to, int code) {
      return [to, code](const httplib::Request&, httplib::Response& res) {
        res.set_redirect(to, code);
        res.set_content("<p>Moved</p>", "text/html");
      };
    };
    s.Get("/to-ok", redirect("/ok", 301));
    s.Get("/to-to-ok", redirect("/to-ok", 301));
    s.Get("/to-missing", redirect("/missing", 302));
    s.Get("/to-nowhere", redirect("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/x", 302));
    s.Get("/loop", redirect("/loop", 307));
    s.Get("/loop-found", redirect("/loop-found", 302));
    s.Get("/bare-to-ok",
          [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/ok", 301); });
    s.Get("/record", [this](const httplib::Request& req, httplib::Response& res) {
      std::lock_guard lock(mutex_);
      seen_.push_back(req.method + "|" + req.get_header_value("Cookie") + "|" +
                      req.get_header_value("User-Agent"));
      res.set_content("recorded", "text/plain");
    });
    s.Get("/set", [](const httplib::Request&, httplib::Response& res) {
      res.set_header("Set-Cookie", "session=1; Path=/");
      res.set_content("set", "text/plain");
    });
    s.Get("/huge", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(std::string(std::size_t{40} << 20, 'z'), "text/plain");
    });
    srv_.Start();
  }

  LoopbackServer srv_;
  std::mutex mutex_;
  std::vector<std::string> seen_;
};

TEST_F(ProbeTest, TellsPresentAbsentAndUnreachable) {
  CurlHttpOptions options;
  options.connectTimeout = 3s;
  options.requestTimeout = 5s;
  CurlHttpClient client(options);
  const std::string closed = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/ok";
  struct Case {
    std::string url;
    ProbeResult expected;
  };
  const std::vector<Case> cases = {
      {srv_.Url("/ok"), ProbeResult::Present},
      {srv_.Url("/found"), ProbeResult::Present},
      {srv_.Url("/missing"), ProbeResult::Absent},
      {srv_.Url("/error"), ProbeResult::Absent},
      {srv_.Url("/created"), ProbeResult::Absent},
      {srv_.Url("/to-ok"), ProbeResult::Present},
      {srv_.Url("/to-to-ok"), ProbeResult::Present},
      {srv_.Url("/bare-to-ok"), ProbeResult::Present},
      {srv_.Url("/to-missing"), ProbeResult::Absent},
      {srv_.Url("/to-nowhere"), ProbeResult::Unreachable},
      // A loop ends at the redirect limit without the file.
      {srv_.Url("/loop"), ProbeResult::Absent},
      {srv_.Url("/loop-found"), ProbeResult::Absent},
      {srv_.Address() + "/ok", ProbeResult::Present},
      {"HTTP://" + srv_.Address() + "/ok", ProbeResult::Present},
      {"HTTP://" + srv_.Address() + "/missing", ProbeResult::Absent},
      {"http://nohost.invalid/refresh/trotix3.8.txt", ProbeResult::Unreachable},
      {closed, ProbeResult::Unreachable},
      // The body is never read, so its size does not matter.
      {srv_.Url("/huge"), ProbeResult::Present},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(client.Probe(c.url), c.expected);
    // Only a probe without an answer says why, so the user learns which address failed and how.
    std::string why = "stale";
    EXPECT_EQ(client.ProbeExplained(c.url, why), c.expected);
    EXPECT_EQ(why.empty(), c.expected != ProbeResult::Unreachable) << why;
  }
  // The following and the non-following clients probe alike.
  EXPECT_EQ(MakeNonRedirectingClient()->Probe(srv_.Url("/to-ok")), ProbeResult::Present);
}

TEST_F(ProbeTest, IsAFreshGetOutsideTheCookieJar) {
  CurlHttpClient client;
  client.Get(srv_.Url("/set"));
  client.Get(srv_.Url("/record"));
  EXPECT_EQ(client.Probe(srv_.Url("/record")), ProbeResult::Present);
  // The cookie jar is still there for ordinary requests.
  client.Get(srv_.Url("/record"));
  std::lock_guard lock(mutex_);
  EXPECT_EQ(seen_, (std::vector<std::string>{
                       "GET|session=1|Mozilla/3.0 (compatible; Indy Library)", "GET||InetURL:/1.0",
                       "GET|session=1|Mozilla/3.0 (compatible; Indy Library)"}));
}

}  // namespace
}  // namespace trotix
