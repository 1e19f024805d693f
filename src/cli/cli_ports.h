#pragma once
// Ports of the command line: message boxes and browser hand-offs are recorded, not shown.
#include <string>
#include <vector>

#include "app/ports.h"

namespace trotix {

class RecordedMessages : public Messages {
 public:
  void Show(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

class RecordedBrowser : public Browser {
 public:
  void Open(const std::string& urlOrPath) override { opened.push_back(urlOrPath); }
  std::vector<std::string> opened;
};

class SilentProgress : public Progress {
 public:
  void ShowPanel(bool) override {}
  void SetGauge(Gauge, int, int) override {}
  void ShowGauge(Gauge, bool) override {}
};

class FixedClock : public Clock {
 public:
  explicit FixedClock(Date today) : today_(today) {}
  Date Today() override { return today_; }

 private:
  Date today_;
};

// Today's local calendar date.
Date LocalToday();

}  // namespace trotix
