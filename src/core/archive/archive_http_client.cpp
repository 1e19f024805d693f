#include "archive/archive_http_client.h"

#include <algorithm>

#include "archive/request_key.h"

namespace trotix {

ArchiveHttpClient::ArchiveHttpClient(std::vector<RecordedAnswer> answers, Hosts hosts,
                                     BodyReader readBody)
    : hosts_(std::move(hosts)), readBody_(std::move(readBody)), answers_(std::move(answers)) {
  byRequest_.reserve(answers_.size());
  for (const RecordedAnswer& a : answers_) byRequest_[a.key].answers.push_back(&a);
}

const RecordedAnswer* ArchiveHttpClient::Next(const std::string& url, bool probe) {
  const RequestKey key = RequestKeyOf(url, hosts_, probe);
  std::lock_guard lock(mutex_);
  const auto it = byRequest_.find(key);
  // A request whose every answer came too late for a back-test has none left.
  if (it == byRequest_.end() || it->second.answers.empty()) return nullptr;
  Replies& replies = it->second;
  const RecordedAnswer* answer = replies.answers[replies.next];
  replies.next = std::min(replies.next + 1, replies.answers.size() - 1);
  return answer;
}

HttpAnswer ArchiveHttpClient::Get(const std::string& url, const StopSignal* stop) {
  HttpAnswer answer;
  if (stop != nullptr && stop->stopped()) {
    answer.error = "stopped";
    answer.stopped = true;
  } else if (const RecordedAnswer* a = Next(url, false)) {
    answer = a->answer;
    answer.arrived = a->arrived;
    if (a->bodyId != 0) {
      // Read outside the lock: the answers themselves never change.
      auto body = readBody_ ? readBody_(a->bodyId) : std::nullopt;
      if (body) {
        answer.body = std::move(*body);
      } else {
        answer = HttpAnswer{};
        answer.error = kBodyNotReadable;
      }
    }
  } else {
    answer.error = kNotInArchive;
  }
  return answer;
}

// One request after another: nothing is ever in flight beside the next, so no gate holds back.
std::vector<HttpAnswer> ArchiveHttpClient::GetMany(const std::vector<std::string>& urls, int,
                                                   const AnswerHandler& onAnswer,
                                                   const StopSignal* stop, const StartGate&) {
  std::vector<HttpAnswer> answers;
  answers.reserve(urls.size());
  for (std::size_t i = 0; i < urls.size(); ++i) {
    answers.push_back(Get(urls[i], stop));
    if (onAnswer && !answers.back().stopped) onAnswer(static_cast<int>(i), answers.back());
  }
  return answers;
}

bool ArchiveHttpClient::Holds(const std::string& url) const {
  const auto it = byRequest_.find(RequestKeyOf(url, hosts_, false));
  if (it == byRequest_.end()) return false;
  return std::any_of(it->second.answers.begin(), it->second.answers.end(),
                     [](const RecordedAnswer* a) { return !a->answer.failed; });
}

std::string ArchiveHttpClient::FirstArrival(const std::string& url) const {
  const auto it = byRequest_.find(RequestKeyOf(url, hosts_, false));
  if (it == byRequest_.end() || it->second.answers.empty()) return {};
  return it->second.answers.front()->arrived;
}

bool ArchiveHttpClient::KeepOnlyBefore(const std::string& url, const std::string& utc) {
  std::lock_guard lock(mutex_);
  const auto it = byRequest_.find(RequestKeyOf(url, hosts_, false));
  if (it == byRequest_.end()) return false;
  Replies& replies = it->second;
  // The instants are of one form, so their texts order as they do.
  std::erase_if(replies.answers, [&](const RecordedAnswer* a) { return a->arrived >= utc; });
  replies.next = std::min(replies.next, replies.answers.size());
  return std::any_of(replies.answers.begin(), replies.answers.end(),
                     [](const RecordedAnswer* a) { return !a->answer.failed; });
}

ProbeResult ArchiveHttpClient::ProbeExplained(const std::string& url, std::string& why,
                                              const StopSignal* stop) {
  why.clear();
  if (stop != nullptr && stop->stopped()) return ProbeResult::Unreachable;
  const RecordedAnswer* a = Next(url, true);
  if (!a) why = kNotInArchive;
  return a ? a->probe : ProbeResult::Unreachable;
}

ArchiveHttpClient::BodyReader BodiesOf(DayArchive& archive) {
  return [&archive](long long id) { return archive.ReadBody(id); };
}

}  // namespace trotix
