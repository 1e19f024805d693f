#pragma once
// The replay of a stored day: an HTTP client that answers from the day's recorded answers and
// never reaches the network.
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "archive/day_archive.h"
#include "archive/request_key.h"
#include "net/hosts.h"
#include "net/http_client.h"

namespace trotix {

inline constexpr const char* kNotInArchive = "not in the archive";
inline constexpr const char* kBodyNotReadable = "its body could not be read from the archive";

// Several answers to one request come back in the order they were recorded, the last one again
// after that, so a replayed session sees what the live one saw. A request never recorded fails
// with "not in the archive" (a probe: no answer). The answers may come without their bodies
// (`RecordedAnswer::bodyId`, as `LoadDay` gives them): each body is then read when its request
// is made, through `readBody` on the calling thread, so memory follows what the replay asks
// for. Safe to use from several threads at once when `readBody` is.
class ArchiveHttpClient : public HttpClient {
 public:
  using BodyReader = std::function<std::optional<std::string>(long long id)>;
  ArchiveHttpClient(std::vector<RecordedAnswer> answers, Hosts hosts, BodyReader readBody = {});

  // Answers at once; a raised stop still ends what is asked after it.
  HttpAnswer Get(const std::string& url, const StopSignal* stop = nullptr) override;
  std::vector<HttpAnswer> GetMany(const std::vector<std::string>& urls, int maxConnections,
                                  const AnswerHandler& onAnswer, const StopSignal* stop = nullptr,
                                  const StartGate& mayStart = {}) override;
  ProbeResult ProbeExplained(const std::string& url, std::string& why,
                             const StopSignal* stop = nullptr) override;
  // Whether a good answer to a GET of `url` was recorded.
  bool Holds(const std::string& url) const;
  // Forgets the answers to a GET of `url` that arrived at or after `utc` (UTC text): a replay
  // that may know only what was known by then. Returns whether a good answer is left.
  bool KeepOnlyBefore(const std::string& url, const std::string& utc);
  // When the first answer to a GET of `url` arrived (UTC text); empty when none was recorded.
  std::string FirstArrival(const std::string& url) const;

 private:
  struct Replies {
    std::vector<const RecordedAnswer*> answers;
    std::size_t next = 0;
  };
  // The next answer to `url`, null when none was recorded.
  const RecordedAnswer* Next(const std::string& url, bool probe);

  Hosts hosts_;
  BodyReader readBody_;
  std::mutex mutex_;
  std::vector<RecordedAnswer> answers_;
  std::unordered_map<RequestKey, Replies, RequestKeyHash> byRequest_;
};

// Reads the bodies of a stored day through the archive port, on the calling thread.
ArchiveHttpClient::BodyReader BodiesOf(DayArchive& archive);

}  // namespace trotix
