#pragma once
// One signed-in run of the system: the Workspace plus one function per user event. The Session
// is the only place that reaches the outside, and only through the ports it is given.
#include <filesystem>
#include <future>
#include <string>

#include "analysis/best_of.h"
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
  // A click on a cell of REZ; only the "Link" column opens the result page.
  void REZCellClick(int col, int row);
  void REZLinkClick(int row);
  // Double-click on a race of "Zorvat": scores it into RF and H.
  void NXCellDblClick(int row);
  // The exchange runners of row `row` of T1, fetched afresh into T2.
  void FillIndicatorRace(int row);

  // Double-click on a race of "ALL TABLE": the analysis with fresh exchange data; the video and
  // market buttons are enabled when the race has a market.
  void MMCellDblClick(int row);
  // Double-click on a race of "Today": the analysis from the tables as they stand, then
  // "ALL TABLE" in front.
  void RTCellDblClick(int row);
  // "Best Rank" and "Best Recoming": every race analysed, each adding its pick to REP. Cancel
  // (through the progress port) stops the run; the rows already added stay.
  void spSkinXFormButton8Click();
  void spSkinXFormButton7Click();

  // The report list: double-click on a runner of TAB adds it; a click on REP remembers the row;
  // "Удалить" deletes it.
  void TABCellDblClick(int row);
  void REPCellClick(int row);
  void N1Click();
  void spSkinXFormButton10Click();  // "Clear"
  void spSkinXFormButton9Click();   // "Save": report.html, opened in the browser
  void ExportCsvClick();            // "Export CSV": report.csv

  void tvbuttonClick();  // video.html with the exchange's player
  void bfbuttonClick();  // the exchange's market page

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
  void RunBestOf(BestOfSystem system);
  // Writes a page into the session's folder and opens it; a failed write is shown instead.
  void SavePage(const std::string& fileName, const std::string& content);

  SessionOptions options_;
  SessionPorts ports_;
  VendorUrls urls_;
  Workspace ws_;
  bool closeRequested_ = false;
  std::future<HttpAnswer> courseTable_;  // last: it must end before the rest goes
};

}  // namespace trotix
