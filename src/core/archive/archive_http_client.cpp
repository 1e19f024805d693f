#include "archive/archive_http_client.h"

#include <algorithm>

#include "archive/request_key.h"

namespace trotix {

ArchiveHttpClient::ArchiveHttpClient(std::vector<RecordedAnswer> answers, Hosts hosts)
    : hosts_(std::move(hosts)), answers_(std::move(answers)) {
  for (const RecordedAnswer& a : answers_) byRequest_[a.key].answers.push_back(&a);
}

const RecordedAnswer* ArchiveHttpClient::Next(const std::string& url, bool probe) {
  const RequestKey key = RequestKeyOf(url, hosts_, probe);
  std::lock_guard lock(mutex_);
  const auto it = byRequest_.find(key);
  if (it == byRequest_.end()) return nullptr;
  Replies& replies = it->second;
  const RecordedAnswer* answer = replies.answers[replies.next];
  replies.next = std::min(replies.next + 1, replies.answers.size() - 1);
  return answer;
}

HttpAnswer ArchiveHttpClient::Get(const std::string& url) {
  if (const RecordedAnswer* a = Next(url, false)) return a->answer;
  HttpAnswer missing;
  missing.error = kNotInArchive;
  return missing;
}

std::vector<HttpAnswer> ArchiveHttpClient::GetMany(const std::vector<std::string>& urls, int,
                                                   const std::function<void(int)>& onAnswer) {
  std::vector<HttpAnswer> answers;
  answers.reserve(urls.size());
  for (std::size_t i = 0; i < urls.size(); ++i) {
    answers.push_back(Get(urls[i]));
    if (onAnswer) onAnswer(static_cast<int>(i));
  }
  return answers;
}

bool ArchiveHttpClient::Holds(const std::string& url) const {
  const auto it = byRequest_.find(RequestKeyOf(url, hosts_, false));
  if (it == byRequest_.end()) return false;
  return std::any_of(it->second.answers.begin(), it->second.answers.end(),
                     [](const RecordedAnswer* a) { return !a->answer.failed; });
}

ProbeResult ArchiveHttpClient::Probe(const std::string& url) {
  const RecordedAnswer* a = Next(url, true);
  return a ? a->probe : ProbeResult::Unreachable;
}

}  // namespace trotix
