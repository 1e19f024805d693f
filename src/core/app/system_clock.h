#pragma once
#include <ctime>

#include "app/ports.h"

namespace trotix {

// The machine's local calendar date.
class SystemClock : public Clock {
 public:
  Date Today() override {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
  }
};

}  // namespace trotix
