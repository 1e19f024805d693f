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
                                                     const StopSignal* stop) {
  std::vector<std::string> arrived(urls.size());
  auto answers = inner_.GetMany(
      urls, maxConnections,
      [&](int i, const HttpAnswer& answer) {
        arrived[static_cast<std::size_t>(i)] = stamp_();
        if (onAnswer) onAnswer(i, answer);
      },
      stop);
  for (std::size_t i = 0; i < urls.size(); ++i)
    if (!answers[i].stopped)
      archive_.Record({RequestKeyOf(urls[i], hosts_, false),
                       answers[i],
                       {},
                       arrived[i].empty() ? stamp_() : arrived[i]});
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
