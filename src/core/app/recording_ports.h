#pragma once
// Ports for front ends without windows: message boxes and browser hand-offs are recorded in
// order instead of shown, progress is not drawn, and today is a fixed date.
#include <string>
#include <vector>

#include "app/ports.h"
#include "app/system_clock.h"

namespace trotix {

class RecordingMessages : public Messages {
 public:
  void Show(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

class RecordingBrowser : public Browser {
 public:
  void Open(const std::string& urlOrPath) override { opened.push_back(urlOrPath); }
  std::vector<std::string> opened;
};

class SilentProgress : public Progress {
 public:
  void ShowPanel(bool) override {}
  void SetGauge(Gauge, int, int) override {}
  void ShowGauge(Gauge, bool) override {}
  bool mayCancel() const override { return false; }
};

// The instant is the day's morning unless set: a run on a fixed day makes its picks before
// that day's races.
class FixedClock : public Clock {
 public:
  explicit FixedClock(Date today, TimeOfDay now = {12, 0, 0})
      : today_(today), now_(now), utc_(UtcInstant(today, kDayMorningUtc)) {}
  Date Today() override { return today_; }
  TimeOfDay Now() override { return now_; }
  Instant Utc() override { return utc_; }
  void SetUtc(Instant at) { utc_ = at; }

 private:
  Date today_;
  TimeOfDay now_;
  Instant utc_;
};

}  // namespace trotix
