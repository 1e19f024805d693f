#pragma once
// The small interfaces through which a Session reaches the outside. Tests and the command line
// pass their own.
#include <string>

#include "net/stop_signal.h"
#include "text/dates.h"
#include "text/instants.h"

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
  // A box whose `text` is the system's own, with what went wrong beneath it; a front end that
  // has no room for the detail shows the text alone.
  virtual void ShowWithDetail(const std::string& text, const std::string& detail) {
    (void)detail;
    Show(text);
  }
};

// One race of a best-of run, as it ended.
struct RaceStep {
  std::string run;   // "Best Rank"
  int race = 0;      // 1 for the first race
  int races = 0;     // in the run
  std::string name;  // "16:45 Lingfield"
  int rowsAdded = 0;
};

// The progress panel "Load data...." with its gauges `pr` and `pr2` and its Cancel.
class Progress {
 public:
  enum Gauge { kPr, kPr2 };
  virtual ~Progress() = default;
  virtual void ShowPanel(bool visible) = 0;
  virtual void SetGauge(Gauge gauge, int value, int maximum) = 0;
  virtual void ShowGauge(Gauge gauge, bool visible) = 0;
  // What the panel says while a long run goes on ("Back-test 12/30 — 05.12.2026").
  virtual void SetCaption(const std::string&) {}
  // What Cancel raises, from any thread; the Session also puts each command's deadline on it.
  // None: nothing cancels (the Session keeps a signal of its own for the deadlines).
  virtual StopSignal* stopSignal() { return nullptr; }
  // A race of a long run is complete; a window may show the tables as they stand now. False
  // when a Cancel came first and the race was not shown: the Session takes it back and stops.
  virtual bool StepDone(const Workspace&, const RaceStep&) { return true; }
  // False for a progress that never cancels: no signal, and every step done.
  virtual bool mayCancel() const { return true; }
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date Today() = 0;
  virtual TimeOfDay Now() = 0;
  // The instant in UTC, as the ledger stamps a pick: a day's own clock gives an instant of that
  // day, so a replayed or demo day's picks are made before its races.
  virtual Instant Utc() = 0;
};

}  // namespace trotix
