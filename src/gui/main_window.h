#pragma once
// The window "Trotix": the page control with its eleven pages, the progress panel and the tray
// icon. Every user event becomes one Session call on the worker; the pages show the snapshot
// each call leaves.
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/session.h"
#include "archive/sqlite_archive.h"
#include "gui/qt_ports.h"
#include "gui/session_runner.h"

class QTabWidget;

namespace trotix {
class SessionArchive;
}

namespace trotix::gui {

class AllTablePage;
class IndicatorPage;
class ProgressPanel;
class ReportPage;
class ResultPage;
class ScalpOddsPage;
class SignInPage;
class TipsPage;
class TodayPage;
class TrayIcon;
class ZorvatPage;

struct WindowOptions {
  SessionOptions session;
  std::unique_ptr<HttpClient> web;     // follows redirects
  std::unique_ptr<HttpClient> zorvat;  // does not follow redirects
  std::shared_ptr<void> keepAlive;     // anything the clients rely on (the demo server)
  // Filled into the sign-in fields after start-up when not empty (the demo account).
  std::string login, password;
  // The data folder's archive; none when it is off or could not be opened (`archiveNote` says
  // why, once, at start-up).
  std::shared_ptr<SqliteArchive> archive;
  std::string archiveNote;
  // Demo mode: builds that many past demo days into the archive on the worker thread and returns
  // what to tell the user.
  std::function<std::string(int days, Progress& progress)> demoHistory;
};

class MainWindow : public QWidget {
  Q_OBJECT
 public:
  explicit MainWindow(WindowOptions options, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Start-up: posts `Session::Start`. Returns the command's number.
  int Start();

  GuiPorts& ports() { return *ports_; }
  SessionRunner& runner() { return *runner_; }
  const Snapshot& shown() const { return *runner_->last(); }

 public slots:
  // "ВХОД". Returns the command's number, 0 when another command runs.
  int SignIn();
  // "LOAD" on "Result".
  int LoadResults();
  // A double-click on race `row` of "ALL TABLE".
  int OpenRace(int row);
  // Opens a stored day offline in place of the live session: start-up and sign-in from the
  // archive. Returns the command's number, 0 when it cannot.
  int ReplayDay(const trotix::Date& day);
  // "Build 30 demo days" in demo mode.
  int BuildDemoHistory(int days);

 signals:
  // A command ended and its snapshot is on screen.
  void commandFinished(int command);
  // A step of command `command` (a race of a best-of run) is on screen; the command goes on
  // once the slots return.
  void stepShown(int command);

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void AddPages();
  void ConnectPages();
  void ConnectProgress();
  // Hands `session` (and what it relies on) to a fresh worker.
  void Attach(std::unique_ptr<Session> session, std::shared_ptr<void> keepAlive);
  void ShowStoredDays();

  // Posts a command; refused (0) while another runs.
  int Run(std::function<void(Session&)> command);
  int SignInWith(const SignInForm& form);
  int LoadResultsOf(const std::string& date);
  void Show(const std::shared_ptr<const Snapshot>& snapshot);
  void ShowStep(const std::shared_ptr<const Snapshot>& snapshot);
  void ShowTables(const WorkspaceView& ws);
  void SetIdle(bool idle);

  SessionOptions sessionOptions_;
  std::shared_ptr<SqliteArchive> archive_;
  std::string archiveNote_;
  std::function<std::string(int, Progress&)> demoHistory_;
  SessionArchive* liveArchive_ = nullptr;  // the live session's, none in a replay
  std::string webSite_;
  std::string login_, password_;
  int startCommand_ = 0;
  int resultsCommand_ = 0;
  int pageRequestsShown_ = -1;
  GuiPorts* ports_;
  std::unique_ptr<SessionRunner> runner_;

  QTabWidget* pages_ = nullptr;
  SignInPage* signIn_ = nullptr;
  TodayPage* today_ = nullptr;
  ScalpOddsPage* scalpOdds_ = nullptr;
  IndicatorPage* indicator_ = nullptr;
  ZorvatPage* zorvat_ = nullptr;
  TipsPage* tips_ = nullptr;
  ResultPage* result_ = nullptr;
  ReportPage* report_ = nullptr;
  AllTablePage* allTable_ = nullptr;
  ProgressPanel* progress_ = nullptr;
  TrayIcon* tray_ = nullptr;
};

}  // namespace trotix::gui
