#pragma once
// What ends a command's requests before their answers are in: the user's Cancel, raised from any
// thread, or the command's deadline. Requests made under a raised signal end at once.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>

namespace trotix {

class StopSignal {
 public:
  using Clock = std::chrono::steady_clock;

  StopSignal() = default;
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  // Any thread; wakes whatever waits under the signal.
  void Cancel();
  // Takes a Cancel back, before the next command.
  void Reset() { cancelled_ = false; }
  bool cancelled() const { return cancelled_; }

  // Set by the thread running the command.
  void SetDeadline(Clock::time_point at) { deadline_ = at.time_since_epoch().count(); }
  void ClearDeadline() { deadline_ = kNoDeadline; }
  std::optional<Clock::time_point> deadline() const;
  bool expired() const;

  bool stopped() const { return cancelled() || expired(); }

  // While the returned object lives, Cancel calls `wake` (on the cancelling thread).
  class Waiter {
   public:
    Waiter(const StopSignal& signal, std::function<void()> wake);
    ~Waiter();
    Waiter(const Waiter&) = delete;
    Waiter& operator=(const Waiter&) = delete;

   private:
    const StopSignal& signal_;
    std::uint64_t id_;
  };

 private:
  static constexpr Clock::rep kNoDeadline = INT64_MAX;

  std::atomic<bool> cancelled_{false};
  std::atomic<Clock::rep> deadline_{kNoDeadline};
  mutable std::mutex mutex_;  // guards the wakers; Cancel calls them under it
  mutable std::map<std::uint64_t, std::function<void()>> wakers_;
  mutable std::uint64_t nextWaker_ = 0;
};

inline void StopSignal::Cancel() {
  std::lock_guard lock(mutex_);
  cancelled_ = true;
  for (const auto& [id, wake] : wakers_) wake();
}

inline std::optional<StopSignal::Clock::time_point> StopSignal::deadline() const {
  const Clock::rep at = deadline_;
  if (at == kNoDeadline) return std::nullopt;
  return Clock::time_point(Clock::duration(at));
}

inline bool StopSignal::expired() const {
  const auto at = deadline();
  return at && Clock::now() >= *at;
}

inline StopSignal::Waiter::Waiter(const StopSignal& signal, std::function<void()> wake)
    : signal_(signal) {
  std::lock_guard lock(signal_.mutex_);
  id_ = signal_.nextWaker_++;
  signal_.wakers_.emplace(id_, std::move(wake));
}

inline StopSignal::Waiter::~Waiter() {
  std::lock_guard lock(signal_.mutex_);
  signal_.wakers_.erase(id_);
}

}  // namespace trotix
