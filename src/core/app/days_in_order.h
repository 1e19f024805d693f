#pragma once
// The days of a back-test as two threads replay them and one writes them, in day order.
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace trotix {

// The days of a run as the threads replaying them claim and find them, taken in day order by
// the one that writes them. Days are claimed in order, at most a few ahead of the last taken, so
// what waits to be written stays small.
template <class Day>
class DaysInOrder {
 public:
  explicit DaysInOrder(int count) : found_(static_cast<std::size_t>(count)) {}

  // For a thread that only replays: the next day, once it is near enough; none when every day
  // is claimed or Quit was called.
  std::optional<int> Claim() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return quit_ || claimed_ >= size() || claimed_ - taken_ < kAhead; });
    if (quit_ || claimed_ >= size()) return std::nullopt;
    return claimed_++;
  }
  // For the writing thread, which needs day `day`: a day to replay meanwhile, the day itself
  // when no one has claimed it; none once `day` is found (after waiting for it when there is
  // nothing else to do).
  std::optional<int> Claim(int day) {
    std::unique_lock lock(mutex_);
    for (;;) {
      if (found_[day]) return std::nullopt;
      if (claimed_ < size() && (claimed_ <= day || claimed_ - taken_ < kAhead)) return claimed_++;
      changed_.wait(lock);
    }
  }
  void Found(int day, Day found) {
    {
      std::lock_guard lock(mutex_);
      found_[day] = std::move(found);
    }
    changed_.notify_all();
  }
  // Day `day` when it is found; the days before it were taken.
  std::optional<Day> Take(int day) {
    std::optional<Day> taken;
    {
      std::lock_guard lock(mutex_);
      if (!found_[day]) return std::nullopt;
      taken = std::move(found_[day]);
      found_[day].reset();
      taken_ = day + 1;
    }
    changed_.notify_all();
    return taken;
  }
  void Quit() {
    {
      std::lock_guard lock(mutex_);
      quit_ = true;
    }
    changed_.notify_all();
  }

 private:
  static constexpr int kAhead = 4;
  int size() const { return static_cast<int>(found_.size()); }
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::optional<Day>> found_;
  int claimed_ = 0, taken_ = 0;
  bool quit_ = false;
};

// A thread that replays days until they are all claimed; it is told to quit and joined when the
// run ends, however it ends.
template <class Order>
class ReplayThread {
 public:
  ReplayThread(Order& order, std::function<void()> work) : order_(order) {
    thread_ = std::thread(std::move(work));
  }
  ReplayThread(const ReplayThread&) = delete;
  ReplayThread& operator=(const ReplayThread&) = delete;
  ~ReplayThread() {
    order_.Quit();
    thread_.join();
  }

 private:
  Order& order_;
  std::thread thread_;
};

}  // namespace trotix
