#pragma once
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

 private:
  static std::tm Local() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
  }
};

}  // namespace trotix
