#pragma once
// The small interfaces through which a Session reaches the outside. Tests and the command line
// pass their own.
#include <string>

#include "text/dates.h"

namespace trotix {

struct Workspace;

// The platform's "open" verb: the default browser for addresses, the file's viewer for files.
class Browser {
 public:
  virtual ~Browser() = default;
  virtual void Open(const std::string& urlOrPath) = 0;
};

// Modal message boxes with one OK button.
class Messages {
 public:
  virtual ~Messages() = default;
  virtual void Show(const std::string& text) = 0;
};

// The progress panel "Load data...." with its gauges `pr` and `pr2`.
class Progress {
 public:
  enum Gauge { kPr, kPr2 };
  virtual ~Progress() = default;
  virtual void ShowPanel(bool visible) = 0;
  virtual void SetGauge(Gauge gauge, int value, int maximum) = 0;
  virtual void ShowGauge(Gauge gauge, bool visible) = 0;
  // What the panel says while a long run goes on ("Back-test 12/30 — 05.12.2026").
  virtual void SetCaption(const std::string&) {}
  // True once the user asked to stop a long run.
  virtual bool CancelRequested() { return false; }
  // One step of a long run (a race of a best-of run) is complete; a window may show the tables
  // as they stand now.
  virtual void StepDone(const Workspace&) {}
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date Today() = 0;
  virtual TimeOfDay Now() = 0;
};

}  // namespace trotix
