#pragma once
// A Session with real HTTP clients and recording ports, in a temporary folder of its own.
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/recording_ports.h"
#include "app/session.h"
#include "net/curl_http_client.h"
#include "support/temp_folder.h"

namespace trotix::testing {

class RecordingProgress : public Progress {
 public:
  void ShowPanel(bool visible) override { panelShown += visible ? 1 : 0; }
  void SetGauge(Gauge gauge, int value, int maximum) override {
    if (gauge == kPr) prValues.push_back(value), prMax = maximum;
    if (onGauge) onGauge(gauge, value);
  }
  void ShowGauge(Gauge gauge, bool visible) override {
    if (gauge == kPr2) pr2Visible = visible;
  }
  StopSignal* stopSignal() override { return &stop; }
  bool StepDone(const Workspace& ws, const RaceStep& step) override {
    if (onStep && !onStep(ws, step)) return false;
    ++steps;
    return true;
  }
  int panelShown = 0;
  bool pr2Visible = false;
  int steps = 0;
  std::vector<int> prValues;
  int prMax = 0;
  StopSignal stop;
  std::function<bool(const Workspace&, const RaceStep&)> onStep;  // false: not shown
  std::function<void(Gauge, int)> onGauge;
};

struct SessionHarness {
  explicit SessionHarness(const std::string& base, Date today = {2026, 12, 8},
                          int maxConnections = 8, CurlHttpOptions http = {},
                          std::chrono::milliseconds deadline = SessionOptions().deadline)
      : web(MakeRedirectingClient(http)), zorvat(MakeNonRedirectingClient(http)), clock(today) {
    Hosts hosts{base, base, base, base, base};
    session =
        std::make_unique<Session>(SessionOptions{hosts, folder.path(), maxConnections, deadline},
                                  SessionPorts{*web, *zorvat, browser, messages, progress, clock});
  }
  Workspace& ws() { return session->ws(); }

  TempFolder folder;
  std::unique_ptr<HttpClient> web, zorvat;
  RecordingMessages messages;
  RecordingBrowser browser;
  RecordingProgress progress;
  FixedClock clock;
  std::unique_ptr<Session> session;
};

}  // namespace trotix::testing
