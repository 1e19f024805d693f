#pragma once
// The window "Trotix": the page control with its twelve pages, the status line, the progress
// panel and the tray icon. Every user event becomes one Session call on the worker; the pages
// show the snapshot each call leaves. Its settings and its size, page and choices are kept
// between runs.
#include <QStringList>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/session.h"
#include "gui/qt_ports.h"
#include "gui/session_runner.h"
#include "gui/settings.h"

namespace trotix {
class SessionArchive;
class SqliteArchive;
}  // namespace trotix

class QTabWidget;
class QTimer;

namespace trotix::gui {

class AllTablePage;
class IndicatorPage;
struct PackResult;
class ProgressPanel;
class ProofPage;
class ReportPage;
class ResultPage;
class ScalpOddsPage;
class SessionFactory;
class SettingsDialog;
class SignInPage;
class SystemsPage;
class TipsPage;
class TodayPage;
class WindowFrame;
class ZorvatPage;

struct WindowOptions {
  // What the window reads and keeps; the user's own settings when not given.
  std::shared_ptr<Settings> settings;
  // What the command line set for this run (hosts, connection cap, data folder); it wins over
  // the settings.
  Settings::RunValues commandLine;
  std::unique_ptr<HttpClient> web;     // follows redirects
  std::unique_ptr<HttpClient> zorvat;  // does not follow redirects
  std::shared_ptr<void> keepAlive;     // anything the clients rely on (the demo server)
  // The demo server's day: the session runs on the day's own clock from its morning, so the
  // demo's picks are made before its races.
  bool dayClock = false;
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
  // "Sign out" in the page bar or the tray menu.
  int SignOut();
  // "Обновить" on "Scalp Odds", and each auto-refresh.
  int ReloadMoves();
  // "Settings…": the dialog, beside the window until OK or Cancel; OK applies it.
  SettingsDialog* OpenSettings();
  // Opens a stored day offline in place of the live session: start-up and sign-in from the
  // archive. Returns the command's number, 0 when it cannot.
  int ReplayDay(const trotix::Date& day);
  // "Build 30 demo days" in demo mode.
  int BuildDemoHistory(int days);
  // "Back up…" in the settings: asks for a file, then copies the archive there on the worker.
  // Returns the command's number, 0 when nothing is copied.
  int BackUpArchive();
  // "Pack now": packs the pages an older release stored as they came, on the worker, with the
  // progress panel and Cancel, which stops after the batch under way; the next call goes on from
  // there. Returns the command's number, 0 when nothing runs.
  int PackArchive();

 signals:
  // A command ended and its snapshot is on screen.
  void commandFinished(int command);
  // A step of command `command` (a race of a best-of run) is on screen; the command goes on
  // once the slots return.
  void stepShown(int command);

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void AddPages();
  void ConnectPages();
  void ConnectProgress();
  // Hands `made` to a fresh worker; command numbers go on counting.
  void Attach(struct MadeSession made);
  // After the replay's command: the window's title, and no live archive any more.
  void ShowReplayed(int command);
  // Reads the stored days into each snapshot, on the worker; none without an archive.
  std::function<void(Snapshot&)> StoredDaysReader() const;
  // Posts `command` followed, on the worker, by a look at what the archive has left to pack;
  // `offer`: then asks whether to pack it.
  int RunThenLookAtArchive(std::function<void(Session&)> command, bool offer);
  // "Pack now" or "Later", when the archive holds pages an older release stored as they came.
  void OfferToPack();
  // After the packing or a look at the archive: what is left to pack, and the status line.
  void ShowPacked(int command);
  // Worker thread: packs the archive, showing each batch; fills `result`.
  static void PackOnWorker(SqliteArchive& store, GuiPorts& ports, PackResult& result);

  // Posts a command; refused (0) while another runs.
  int Run(std::function<void(Session&)> command);
  // What the status line says when a command ends, unless the Session said something of its
  // own: `done` when it ran to its end, "<name>: cancelled" after a Cancel.
  struct Said {
    QString name;
    std::function<QString(const Snapshot&)> done;
  };
  // Posts a command that says how it ended.
  int RunSaying(std::function<void(Session&)> command, Said said);
  static Said RaceSaid();
  void SayHowItEnded(const Snapshot& snapshot, bool sessionSaid);
  int SignInWith(const SignInForm& form);
  int LoadResultsOf(const std::string& date);
  void Show(const std::shared_ptr<const Snapshot>& snapshot);
  void ShowStep(const std::shared_ptr<const Snapshot>& snapshot);
  void ShowTables(const WorkspaceView& ws);
  void SetIdle(bool idle);

  // The settings as they now stand, handed to the Session.
  void ApplySettings();
  // Whether the files may go into `to`: asked when it holds files of the same names.
  bool AgreeToMoveInto(const std::filesystem::path& from, const std::filesystem::path& to);
  // Hands `options` to the Session after moving the data folder's files, archive included, from
  // `from` into the new folder, on the worker; a move that fails keeps the old folder.
  int MoveDataFolderThenUse(SessionOptions options, const std::filesystem::path& from);
  // After that command: the folder in force and kept, should the move have failed.
  void ShowFolderMoved(int command);
  // The commission and the moves' refresh as the settings keep them, within their limits;
  // `notes` gets a kept value that was not.
  void ApplyNumberSettings(QStringList* notes);
  void RestoreWindowState();
  void SaveWindowState();
  void SaveReportAs(bool csv);
  void AskToClearReport();
  // "Save" in the close question: the report is saved, then the window closes.
  void SaveThenClose();

  std::shared_ptr<Settings> settings_;
  Settings::RunValues commandLine_;
  QStringList notes_;  // the window's own, for the status line; before options_, which fills it
  SessionOptions options_;  // as the Session has them
  std::string login_, password_;
  std::unique_ptr<SessionFactory> sessions_;
  std::string archiveNote_;
  std::function<std::string(int, Progress&)> demoHistory_;
  SessionArchive* liveArchive_ = nullptr;  // the live session's, none in a replay
  int startCommand_ = 0;
  struct PendingReplay {
    int command = 0;
    Date day;
    std::shared_ptr<bool> replayed = std::make_shared<bool>(false);  // set on the worker
  } replay_;
  int resultsCommand_ = 0;
  int refillCommand_ = 0;  // settings that change whose sign-in is remembered
  int pageRequestsShown_ = -1;
  bool signedInShown_ = false;
  bool showing_ = false;  // a snapshot is being shown: page changes are not the user's
  bool settingsPending_ = false;
  bool closing_ = false;
  bool saveThenClose_ = false;
  int saveCommand_ = 0;
  std::map<int, Said> saying_;  // by command number
  struct FolderMove {
    int command = 0;
    std::filesystem::path from;
    std::shared_ptr<std::string> error;  // set on the worker
  } folderMove_;
  struct Packing {
    int command = 0;
    bool offer = false;                  // the start's look: asks once it is on screen
    bool packs = false;                  // "Pack now", not only a look
    std::shared_ptr<PackResult> result;  // filled on the worker
  } packing_;
  bool packWork_ = false;  // pages left to pack, as the last look found
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
  ProofPage* proof_ = nullptr;
  SystemsPage* systems_ = nullptr;  // after the pages of the view state, the window's alone
  AllTablePage* allTable_ = nullptr;
  QTimer* autoRefresh_ = nullptr;
  ProgressPanel* progress_ = nullptr;
  WindowFrame* frame_ = nullptr;
};

}  // namespace trotix::gui
