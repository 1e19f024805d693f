#pragma once
// The window "Trotix": the page control with its eleven pages, every grid and label, the sign-in
// on "About", the progress panel and the tray icon. Every user event becomes one Session call on
// the worker; the widgets show the snapshot each call leaves.
#include <QWidget>
#include <map>
#include <memory>
#include <string>

#include "app/session.h"
#include "gui/qt_ports.h"
#include "gui/session_runner.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QTableView;
class QTimer;

namespace trotix::gui {

class SummaChart;
class GridView;
class IndicatorPage;
class ProgressPanel;
class ScalpOddsPage;
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
};

class MainWindow : public QWidget {
  Q_OBJECT
 public:
  explicit MainWindow(WindowOptions options, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Start-up: posts `FormCreate`. Returns the command's number.
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
  void BuildPages();
  QWidget* BuildResult();
  QWidget* BuildReport();
  QWidget* BuildAbout();
  QWidget* BuildAllTable();
  void BuildProgressPanel();
  void BuildTray();

  QTableView* Grid(const char* name, bool wholeRows);
  QLabel* Label(const char* name, const QString& text = {});

  // Posts a command; refused while another runs.
  int Run(std::function<void(Session&)> command);
  void Show(const std::shared_ptr<const Snapshot>& snapshot);
  void ShowStep(const std::shared_ptr<const Snapshot>& snapshot);
  void ShowTables(const WorkspaceView& ws);
  void ApplyEnabled();
  void OnBusy(bool busy);
  void OnCellDblClick(const char* grid, int row);

  std::string webSite_;
  std::string login_, password_;
  int startCommand_ = 0;
  int resultsCommand_ = 0;
  int pageRequestsShown_ = -1;
  GuiPorts* ports_;
  std::unique_ptr<SessionRunner> runner_;

  QTabWidget* page_ = nullptr;
  TodayPage* today_ = nullptr;
  ScalpOddsPage* scalpOdds_ = nullptr;
  IndicatorPage* indicator_ = nullptr;
  ZorvatPage* zorvat_ = nullptr;
  TipsPage* tips_ = nullptr;
  std::map<std::string, GridView*> grids_;
  std::map<std::string, QLabel*> labels_;
  QLineEdit* loginedit_ = nullptr;
  QLineEdit* passedit_ = nullptr;
  QLineEdit* datas_ = nullptr;
  QCheckBox* zap_ = nullptr;
  QCheckBox* rkef_ = nullptr;
  std::map<std::string, QPushButton*> commandButtons_;
  QPushButton* tvbutton_ = nullptr;
  QPushButton* bfbutton_ = nullptr;
  SummaChart* summaChart_ = nullptr;
  QFrame* viz_ = nullptr;
  QTimer* vizTimer_ = nullptr;
  ProgressPanel* progress_ = nullptr;
  QMenu* repMenu_ = nullptr;
  TrayIcon* tray_ = nullptr;
};

}  // namespace trotix::gui
