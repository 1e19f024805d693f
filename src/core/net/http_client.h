#pragma once
// The HTTP port. Every request of the system is a plain GET whose body is kept byte for byte.
#include <functional>
#include <string>
#include <vector>

namespace trotix {

struct HttpAnswer {
  int status = 0;      // 0 when no answer arrived at all
  std::string body;    // byte for byte
  std::string error;   // why the request failed, empty when it did not
  bool failed = true;  // no answer, a broken or refused connection, a time-out, a status
                       // outside 200-299 (an unfollowed redirect too), an answer over the cap
};

// Outcome of a URL probe: it tells "the server answered something else" from "no answer".
enum class ProbeResult { Present, Absent, Unreachable };

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  virtual HttpAnswer Get(const std::string& url) = 0;
  // Independent requests, at most `maxConnections` at once; answers come in the order asked.
  // `onAnswer`, when set, is called with the index of each answer as it arrives (progress).
  virtual std::vector<HttpAnswer> GetMany(const std::vector<std::string>& urls, int maxConnections,
                                          const std::function<void(int)>& onAnswer) = 0;
  // A fresh GET outside the cookie jar; "http://" is put in front of an address without a
  // scheme. Redirects are followed to the end, bodies unread; present when the final answer's
  // status is 200 or 302, absent for any other status or a redirect loop.
  virtual ProbeResult Probe(const std::string& url) = 0;
};

// Fetches a batch of pages and gives their bodies in the order asked, the empty text for any
// page that failed. The core asks for pages through this; the Session decides how they travel.
using PageFetcher = std::function<std::vector<std::string>(const std::vector<std::string>& urls)>;

// The convention of nearly every request: any failure gives the empty text.
inline std::string BodyOrEmpty(const HttpAnswer& a) {
  return a.failed ? std::string() : a.body;
}

}  // namespace trotix
