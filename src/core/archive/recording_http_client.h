#pragma once
// Records every answer of a client into the day archive and hands it on unchanged, so the
// Session's fetching stays as it is.
#include <functional>
#include <string>

#include "archive/day_archive.h"
#include "net/hosts.h"
#include "net/http_client.h"

namespace trotix {

class RecordingHttpClient : public HttpClient {
 public:
  // `stamp` gives the instant an answer arrived (UTC text): the machine's unless a day runs on
  // its own clock (a demo day), so the back-test can tell what was known before each off.
  RecordingHttpClient(HttpClient& inner, DayArchive& archive, Hosts hosts,
                      std::function<std::string()> stamp = UtcNow)
      : inner_(inner), archive_(archive), hosts_(std::move(hosts)), stamp_(std::move(stamp)) {}

  // What a stop ended is not an answer and is not recorded.
  HttpAnswer Get(const std::string& url, const StopSignal* stop = nullptr) override;
  // Answers are recorded in the order asked, each with the time it arrived.
  std::vector<HttpAnswer> GetMany(const std::vector<std::string>& urls, int maxConnections,
                                  const AnswerHandler& onAnswer, const StopSignal* stop = nullptr,
                                  const StartGate& mayStart = {}) override;
  ProbeResult ProbeExplained(const std::string& url, std::string& why,
                             const StopSignal* stop = nullptr) override;

 private:
  HttpClient& inner_;
  DayArchive& archive_;
  Hosts hosts_;
  std::function<std::string()> stamp_;
};

}  // namespace trotix
