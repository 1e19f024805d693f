#pragma once
#include <chrono>
#include <ctime>

#include "app/ports.h"

namespace trotix {

// The machine's local calendar and time.
class SystemClock : public Clock {
 public:
  Date Today() override {
    const std::tm local = Local();
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
  }
  TimeOfDay Now() override {
    const std::tm local = Local();
    return {local.tm_hour, local.tm_min, local.tm_sec};
  }
  Instant Utc() override {
    return std::chrono::time_point_cast<std::chrono::milliseconds>(
        std::chrono::system_clock::now());
  }

 private:
  static std::tm Local() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
  }
};

// The machine's local time of day at `at`.
inline TimeOfDay LocalTimeOf(Instant at) {
  const std::time_t t =
      std::chrono::system_clock::to_time_t(std::chrono::time_point_cast<std::chrono::seconds>(at));
  std::tm local{};
  localtime_r(&t, &local);
  return {local.tm_hour, local.tm_min, local.tm_sec};
}

// The morning of a demo or replayed day, in UTC: before the vendor's first race (11:00 Moscow
// time at the earliest), so the day's picks are made before their races.
inline constexpr TimeOfDay kDayMorningUtc{5, 0, 0};

// A day's own clock: the date is the day's, the time of day the machine's, and the instant
// starts on the morning of the day and runs on from there as the machine's does.
class DayClock : public Clock {
 public:
  DayClock(const Date& day, Clock& machine) : day_(day), machine_(machine), start_(machine.Utc()) {}
  Date Today() override { return day_; }
  TimeOfDay Now() override { return machine_.Now(); }
  Instant Utc() override { return UtcInstant(day_, kDayMorningUtc) + (machine_.Utc() - start_); }

 private:
  Date day_;
  Clock& machine_;
  Instant start_;
};

}  // namespace trotix
