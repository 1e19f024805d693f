#pragma once
// The HTTP port over libcurl.
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "net/http_client.h"
#include "net/vendor_urls.h"

namespace trotix {

struct CurlHttpOptions {
  bool followRedirects = true;
  // Zero leaves curl's own: no limit on the whole request, 300 s to connect.
  std::chrono::milliseconds connectTimeout{10'000};
  std::chrono::milliseconds requestTimeout{60'000};
  // A larger answer fails while it streams, so it is never held whole. One bound for every
  // request would have to let the day's card through (a 100,000-race day is 15 MB), so pages
  // known to be small get a bound of their own: an address whose path starts with `path`.
  std::size_t maxBodyBytes = std::size_t{32} << 20;
  struct PathCap {
    std::string path;
    std::size_t bytes = 0;
  };
  // A runner page holds one runner's figures (a few KB); above 2 MiB it is no page.
  std::vector<PathCap> pathCaps = {{std::string(kRunnerPagePath), std::size_t{2} << 20}};
  std::string userAgent = "Mozilla/3.0 (compatible; Indy Library)";
  std::string accept = "text/html, */*";
  std::string contentType = "text/html";
};

// One client keeps its own cookies: every answer's cookies are sent back on its later requests,
// including those of a batch. A client object is used by one thread at a time; a second thread
// that enters while another is inside aborts the program (`OwnerCheck`).
class CurlHttpClient : public HttpClient {
 public:
  explicit CurlHttpClient(CurlHttpOptions options = {});
  ~CurlHttpClient() override;
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  const CurlHttpOptions& options() const;

  HttpAnswer Get(const std::string& url, const StopSignal* stop = nullptr) override;
  std::vector<HttpAnswer> GetMany(const std::vector<std::string>& urls, int maxConnections,
                                  const AnswerHandler& onAnswer, const StopSignal* stop = nullptr,
                                  const StartGate& mayStart = {}) override;
  ProbeResult ProbeExplained(const std::string& url, std::string& why,
                             const StopSignal* stop = nullptr) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The Session's two clients: one follows redirects (sign-in, feeds, exchange pages), the other
// does not (Zorvat tables). The other settings come from `options`.
std::unique_ptr<HttpClient> MakeRedirectingClient(CurlHttpOptions options = {});
std::unique_ptr<HttpClient> MakeNonRedirectingClient(CurlHttpOptions options = {});

// What a probe actually requests: "http://" in front unless the address starts with "http://"
// or "https://" (in any case).
std::string ProbeAddress(const std::string& url);

}  // namespace trotix
