#include "archive/recording_http_client.h"

#include "archive/request_key.h"

namespace trotix {

HttpAnswer RecordingHttpClient::Get(const std::string& url, const StopSignal* stop) {
  HttpAnswer answer = inner_.Get(url, stop);
  if (!answer.stopped) archive_.Record({RequestKeyOf(url, hosts_, false), answer, {}, stamp_()});
  return answer;
}

std::vector<HttpAnswer> RecordingHttpClient::GetMany(const std::vector<std::string>& urls,
                                                     int maxConnections,
                                                     const AnswerHandler& onAnswer,
                                                     const StopSignal* stop,
                                                     const StartGate& mayStart) {
  // Each body goes to the archive as it arrives, before the caller may take it; only its id
  // waits here, so the answers are still recorded in the order asked.
  std::vector<RecordedAnswer> arrived(urls.size());
  auto answers = inner_.GetMany(
      urls, maxConnections,
      [&](int i, HttpAnswer& answer) {
        RecordedAnswer& r = arrived[static_cast<std::size_t>(i)];
        r.arrived = stamp_();
        r.bodyId = archive_.StoreBody(answer.body);
        r.answer.status = answer.status;
        r.answer.error = answer.error;
        r.answer.failed = answer.failed;
        if (r.bodyId == 0) r.answer.body = answer.body;
        if (onAnswer) onAnswer(i, answer);
      },
      stop, mayStart);
  for (std::size_t i = 0; i < urls.size(); ++i) {
    if (answers[i].stopped) continue;
    RecordedAnswer& r = arrived[i];
    if (r.arrived.empty()) r = {{}, answers[i], {}, stamp_(), 0};  // never handed to the caller
    r.key = RequestKeyOf(urls[i], hosts_, false);
    archive_.Record(std::move(r));
  }
  return answers;
}

ProbeResult RecordingHttpClient::ProbeExplained(const std::string& url, std::string& why,
                                                const StopSignal* stop) {
  const ProbeResult result = inner_.ProbeExplained(url, why, stop);
  if (stop == nullptr || !stop->stopped())
    archive_.Record({RequestKeyOf(url, hosts_, true), {}, result, stamp_()});
  return result;
}

}  // namespace trotix
