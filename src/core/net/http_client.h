#pragma once
// The HTTP port. Every request of the system is a plain GET whose body is kept byte for byte.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "net/stop_signal.h"

namespace trotix {

struct HttpAnswer {
  int status = 0;        // 0 when no answer arrived at all
  std::string body;      // byte for byte
  std::string error;     // why the request failed, empty when it did not
  bool failed = true;    // no answer, a broken or refused connection, a time-out, a status
                         // outside 200-299 (an unfollowed redirect too), an answer over the cap
  bool stopped = false;  // ended unanswered by a StopSignal (failed too)
  // When a replayed answer first arrived (UTC text, as the archive stamps it); empty for a live
  // one, which arrives now.
  std::string arrived;
};

// How an answer above the client's bound begins its error: "answer larger than 2097152 bytes".
inline constexpr std::string_view kAnswerTooLarge = "answer larger than ";

// Outcome of a URL probe: it tells "the server answered something else" from "no answer".
enum class ProbeResult { Present, Absent, Unreachable };

// Every call takes an optional StopSignal: once it is raised (or its deadline passes) the call
// returns at once, transfers in flight dropped and the rest never started, their answers
// `stopped`.
class HttpClient {
 public:
  // Runs on the calling thread as each answer arrives, between turns of the batch; the answer
  // is also in the batch's result. A request the stop ended is not reported. A handler may take
  // the body (move it out), so a batch of large pages need not hold them all at once; the
  // batch's result then has that answer without its body.
  using AnswerHandler = std::function<void(int index, HttpAnswer& answer)>;
  // Whether request `index` may start while others are in flight, asked again as answers come
  // in; a batch with nothing in flight starts its next request anyway, so a gate may hold a
  // batch back but never stall it. Lets a caller bound how far ahead of its work pages arrive.
  using StartGate = std::function<bool(int index)>;

  virtual ~HttpClient() = default;
  virtual HttpAnswer Get(const std::string& url, const StopSignal* stop = nullptr) = 0;
  // Independent requests, at most `maxConnections` at once, started in the order asked; answers
  // come back in that order.
  virtual std::vector<HttpAnswer> GetMany(const std::vector<std::string>& urls, int maxConnections,
                                          const AnswerHandler& onAnswer,
                                          const StopSignal* stop = nullptr,
                                          const StartGate& mayStart = {}) = 0;
  // A fresh GET outside the cookie jar; "http://" is put in front of an address without a
  // scheme. Redirects are followed to the end, bodies unread; present when the final answer's
  // status is 200 or 302, absent for any other status or a redirect loop. A stopped probe is
  // Unreachable. When no answer came, `why` holds the client's reason, so the user can be told
  // which address failed and how.
  virtual ProbeResult ProbeExplained(const std::string& url, std::string& why,
                                     const StopSignal* stop = nullptr) = 0;
  ProbeResult Probe(const std::string& url, const StopSignal* stop = nullptr) {
    std::string why;
    return ProbeExplained(url, why, stop);
  }
};

// Fetches a batch of pages and gives their bodies in the order asked, the empty text for any
// page that failed. The core asks for pages through this; the Session decides how they travel.
using PageFetcher = std::function<std::vector<std::string>(const std::vector<std::string>& urls)>;

// The convention of nearly every request: any failure gives the empty text.
inline std::string BodyOrEmpty(const HttpAnswer& a) {
  return a.failed ? std::string() : a.body;
}

}  // namespace trotix
