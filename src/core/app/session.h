#pragma once
// One signed-in run of the system: the Workspace plus one function per user event. The Session
// is the only place that reaches the outside, and only through the ports it is given.
#include <filesystem>
#include <future>
#include <string>

#include "app/ports.h"
#include "app/workspace.h"
#include "net/http_client.h"
#include "net/vendor_urls.h"

namespace trotix {

struct SessionPorts {
  HttpClient& web;     // follows redirects: data server, web site, exchange pages
  HttpClient& zorvat;  // does not follow redirects: the Zorvat reference tables
  Browser& browser;
  Messages& messages;
  Progress& progress;
  Clock& clock;
};

struct SessionOptions {
  Hosts hosts;
  std::filesystem::path folder = ".";  // tx.log and the HTML pages live here
  int maxConnections = 8;              // 1 makes every batch one request after another
};

inline constexpr const char* kAuthorizationFailed = "Autorization Failed!";
inline constexpr const char* kConnectionFailed = "Connection failed!";

enum class SignInResult { SignedIn, Rejected, UpdateRequired, ConnectionFailed };

class Session {
 public:
  Session(SessionOptions options, SessionPorts ports);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Workspace& ws() { return ws_; }
  const Workspace& ws() const { return ws_; }
  const VendorUrls& urls() const { return urls_; }
  const SessionOptions& options() const { return options_; }
  // Set when the window should close (the update path).
  bool closeRequested() const { return closeRequested_; }

  // Start-up: remember-me file, the "About" page alone, today's date, the course table.
  void FormCreate();
  // "ВХОД": version probe, sign-in request and, on success, the whole day's load.
  SignInResult SignIn();
  void FormClose();

  // "LOAD" on "Result".
  void LoadResults();
  // A click on a cell of REZ.
  void REZCellClick(int col, int row);
  // Double-click on a race of "Zorvat": scores it into RF and H.
  void NXCellDblClick(int row);
  // The exchange runners of row `row` of T1, fetched afresh into T2.
  void FillIndicatorRace(int row);

 private:
  // Answers of the independent loads after a successful sign-in.
  struct DayLoads {
    ProbeResult indicatorProbe = ProbeResult::Absent;
    HttpAnswer indicator, processBase, scoreBase, dayValues, tips, moves;
  };
  // The course table travels beside the version probe: start-up only starts its request.
  void AwaitCourseTable();
  void LoadDay(const std::string& answer);
  DayLoads FetchDayLoads();          // one request after another
  DayLoads FetchDayLoadsTogether();  // side by side
  void ApplyIndicatorList(ProbeResult probe, const HttpAnswer& answer);
  void ApplyFeed(const HttpAnswer& answer, void (*load)(Workspace&, std::string_view));
  // Fetches pages through the main client within the connection cap, advancing `pr` per runner.
  PageFetcher RunnerPageFetcher();

  SessionOptions options_;
  SessionPorts ports_;
  VendorUrls urls_;
  Workspace ws_;
  bool closeRequested_ = false;
  std::future<HttpAnswer> courseTable_;  // last: it must end before the rest goes
};

}  // namespace trotix
