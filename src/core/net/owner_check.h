#pragma once
// One thread at a time inside an object that is not made for more (an HTTP client). A second
// thread that enters while the first is inside aborts the program with a clear message: a broken
// ownership shows on the first run instead of as a rare race. The owner may enter again from
// inside (a batch's callback that makes a request of its own).
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace trotix {

class OwnerCheck {
 public:
  explicit OwnerCheck(const char* what) : what_(what) {}

  class Scope {
   public:
    explicit Scope(OwnerCheck& check) : check_(check) { check_.Enter(); }
    ~Scope() { check_.Leave(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    OwnerCheck& check_;
  };

 private:
  void Enter() {
    const std::thread::id me = std::this_thread::get_id();
    std::thread::id free{};
    if (owner_.compare_exchange_strong(free, me, std::memory_order_acquire)) {
      depth_ = 1;
      return;
    }
    if (free == me) {
      ++depth_;  // only the owner reads or writes the depth
      return;
    }
    std::fprintf(stderr, "trotix: a second thread entered %s while another was inside it\n", what_);
    std::abort();
  }
  void Leave() {
    if (--depth_ == 0) owner_.store(std::thread::id{}, std::memory_order_release);
  }

  const char* what_;
  std::atomic<std::thread::id> owner_{};
  int depth_ = 0;
};

}  // namespace trotix
