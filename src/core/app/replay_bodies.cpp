#include "app/replay_bodies.h"

#include <iterator>

namespace trotix {

ReplayBodies::ReplayBodies(DayArchive& archive, std::size_t capBytes)
    : archive_(archive), cap_(capBytes) {}

ArchiveHttpClient::BodyReader ReplayBodies::Reader() {
  return [this](long long id) { return Read(id); };
}

std::optional<std::string> ReplayBodies::Read(long long id) {
  if (const auto it = kept_.find(id); it != kept_.end()) {
    it->second.day = day_;
    return it->second.body;
  }
  ++reads_;
  std::optional<std::string> body = archive_.ReadBody(id);
  // Once full, later bodies are read each time: the ones kept first are the day's shared ones.
  if (body && bytes_ + body->size() <= cap_) {
    bytes_ += body->size();
    kept_.emplace(id, Kept{*body, day_});
  }
  return body;
}

void ReplayBodies::NextDay() {
  for (auto it = kept_.begin(); it != kept_.end();) {
    if (it->second.day == day_) {
      ++it;
      continue;
    }
    bytes_ -= it->second.body.size();
    it = kept_.erase(it);
  }
  ++day_;
}

}  // namespace trotix
