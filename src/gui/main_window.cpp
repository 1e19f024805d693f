#include "gui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/display_text.h"
#include "gui/pages/all_table_page.h"
#include "gui/pages/indicator_page.h"
#include "gui/pages/page_parts.h"
#include "gui/pages/proof_page.h"
#include "gui/pages/report_page.h"
#include "gui/pages/result_page.h"
#include "gui/pages/scalp_odds_page.h"
#include "gui/pages/sign_in_page.h"
#include "gui/pages/tips_page.h"
#include "gui/pages/today_page.h"
#include "gui/pages/zorvat_page.h"
#include "gui/pictures.h"
#include "gui/progress_panel.h"
#include "gui/session_factory.h"
#include "gui/settings_dialog.h"
#include "gui/tray_icon.h"
#include "text/dates.h"

namespace trotix::gui {

namespace {

using Key = Settings::Key;

}  // namespace

MainWindow::MainWindow(WindowOptions options, QWidget* parent)
    : QWidget(parent),
      settings_(options.settings ? std::move(options.settings) : std::make_shared<Settings>()),
      commandLine_(std::move(options.commandLine)),
      options_(RunSessionOptions(*settings_, commandLine_, &notes_)),
      login_(std::move(options.login)),
      password_(std::move(options.password)),
      archiveNote_(std::move(options.archiveNote)),
      demoHistory_(std::move(options.demoHistory)),
      ports_(new GuiPorts(this)) {
  setObjectName("mainWindow");
  setWindowTitle("Trotix");
  setWindowIcon(AppIcon());
  // What the window could not be made smaller than before it could be resized.
  setMinimumSize(kClientWidth, kClientHeight);
  ports_->SetDialogParent(this);

  sessions_ =
      std::make_unique<SessionFactory>(*ports_, std::move(options.web), std::move(options.zorvat),
                                       std::move(options.keepAlive), options.archive);
  Attach(sessions_->Live(options_));

  AddPages();
  AddFrame();
  ConnectPages();
  ConnectProgress();
  AddShortcuts();
  // Enter presses the focused button, as Space does, on every page.
  for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(true);

  if (sessions_->archive()) signIn_->ShowArchive(static_cast<bool>(demoHistory_));
  Show(runner_->last());
  RestoreWindowState();
  Say("Data folder: " + QDir::toNativeSeparators(Display(options_.folder.string())));
  for (const QString& note : notes_) Say(note);
}

void MainWindow::Attach(MadeSession made) {
  const int first = runner_ ? runner_->nextCommand() : 1;
  liveArchive_ = made.recorder;
  runner_ = std::make_unique<SessionRunner>(std::move(made.session), std::move(made.keepAlive),
                                            ports_->messages(), first);
  ports_->SetStepHandler([runner = runner_.get()](const Workspace& ws) { runner->Step(ws); });
  connect(runner_.get(), &SessionRunner::busyChanged, this, [this](bool busy) {
    progress_->SetBusy(busy);
    SetIdle(!busy);
  });
  connect(runner_.get(), &SessionRunner::finished, this, &MainWindow::Show);
  connect(runner_.get(), &SessionRunner::stepped, this, &MainWindow::ShowStep);
}

MainWindow::~MainWindow() {
  if (!closing_) SaveWindowState();
  // The worker may still be inside a command that reports to this window's ports: it is asked to
  // stop, and whatever it waits for is answered without boxes.
  ports_->RequestCancel();
  ports_->SetMessageHook([](const QString&) {});
  runner_->Shutdown(ports_);
  runner_.reset();
}

int MainWindow::Start() {
  startCommand_ = Run([](Session& s) { s.Start(); });
  if (!archiveNote_.empty()) ports_->ShowMessage(Display(archiveNote_));
  return startCommand_;
}

int MainWindow::ReplayDay(const Date& day) {
  if (runner_->busy()) return 0;
  std::string error;
  auto replay = sessions_->Replay(options_, day, error);
  if (!replay) {
    if (!error.empty()) ports_->ShowMessage(Display(error));
    return 0;
  }
  Attach(std::move(*replay));
  setWindowTitle(Display("Trotix - " + FormatDate(day) + " from the archive"));
  const SignInForm form = signIn_->Form();
  startCommand_ = Run([form](Session& s) {
    s.Start();
    s.SignIn(form);
  });
  return startCommand_;
}

int MainWindow::BuildDemoHistory(int days) {
  if (!demoHistory_) return 0;
  Progress& progress = ports_->progress();
  Messages& messages = ports_->messages();
  return Run([build = demoHistory_, days, &progress, &messages](Session&) {
    messages.Show(build(days, progress));
  });
}

int MainWindow::SignIn() {
  return SignInWith(signIn_->Form());
}

int MainWindow::LoadResults() {
  result_->HideNoInformation();
  return LoadResultsOf(result_->Date());
}

int MainWindow::OpenRace(int row) {
  return Run([row](Session& s) { s.AnalyseLive(row); });
}

int MainWindow::SignOut() {
  return Run([](Session& s) { s.SignOut(); });
}

int MainWindow::ReloadMoves() {
  return Run([](Session& s) { s.ReloadMoves(); });
}

SettingsDialog* MainWindow::OpenSettings() {
  if (auto* open = findChild<SettingsDialog*>("settingsDialog")) {
    open->raise();
    return open;
  }
  auto* dialog = new SettingsDialog(*settings_, commandLine_, *ports_, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::accepted, this, &MainWindow::ApplySettings);
  // Window-modal without a loop of its own, so the window goes on showing what runs.
  dialog->open();
  return dialog;
}

int MainWindow::SignInWith(const SignInForm& form) {
  return Run([form, archive = liveArchive_, keep = signIn_->KeepAnswers()](Session& s) {
    if (archive) archive->SetRecording(keep);
    s.SignIn(form);
  });
}

int MainWindow::LoadResultsOf(const std::string& date) {
  const int command = Run([date](Session& s) { s.LoadResults(date); });
  if (command != 0) resultsCommand_ = command;
  if (command != 0) settings_->Set(Key::kResultsDate, Display(date));
  return command;
}

void MainWindow::AddPages() {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  pages_ = new QTabWidget(this);
  pages_->setObjectName("pages");
  pages_->setDocumentMode(false);
  pages_->setIconSize(QSize(16, 16));
  outer->addWidget(pages_);

  const WorkspaceView& ws = runner_->last()->ws;
  QWidget* byIndex[kPageCount] = {};
  byIndex[kPageToday] = today_ = new TodayPage(ws);
  byIndex[kPageSelectCourse] = new QWidget;  // never shown
  byIndex[kPageStatsHorse] = new QWidget;    // never shown
  byIndex[kPageScalpOdds] = scalpOdds_ = new ScalpOddsPage(ws);
  byIndex[kPageIndicatorBF] = indicator_ = new IndicatorPage(ws);
  byIndex[kPageZorvat] = zorvat_ = new ZorvatPage(ws);
  byIndex[kPageTips] = tips_ = new TipsPage(ws);
  byIndex[kPageResult] = result_ = new ResultPage(ws);
  byIndex[kPageReport] = report_ = new ReportPage(ws);
  byIndex[kPageProof] = proof_ = new ProofPage;
  byIndex[kPageAbout] = signIn_ = new SignInPage(options_.hosts.webSite);
  byIndex[kPageAllTable] = allTable_ = new AllTablePage(ws);
  byIndex[kPageSelectCourse]->setObjectName("selectCoursePage");
  byIndex[kPageStatsHorse]->setObjectName("statsHorsePage");

  // The icon list ends with "ALL TABLE", "About", "Report" and "Proof", in that order.
  constexpr int kIcon[kPageCount] = {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 9, 8};
  const auto icons = TabIcons();
  for (int p = 0; p < kPageCount; ++p) pages_->addTab(byIndex[p], icons[kIcon[p]], PageCaption(p));

  // Outside the pages: the sorted list box the Zorvat scoring orders runners with.
  auto* listBox = new QWidget(this);
  listBox->setObjectName("ListBox1");
  listBox->hide();
}

void MainWindow::AddFrame() {
  // The status line: what was saved where, and what went wrong without a message box.
  auto* status = new QStatusBar;
  status->setObjectName("statusBar");
  statusLine_ = new QLabel;
  statusLine_->setObjectName("statusLine");
  statusLine_->setTextFormat(Qt::PlainText);
  statusLine_->setMinimumWidth(1);  // a long path is cut, never the window widened
  status->addWidget(statusLine_, 1);
  openFolder_ = new QToolButton;
  openFolder_->setObjectName("openFolderButton");
  openFolder_->setText("Open folder");
  openFolder_->setAutoRaise(true);
  openFolder_->hide();
  connect(openFolder_, &QToolButton::clicked, this,
          [this] { ports_->OpenInBrowser(savedFolder_); });
  status->addPermanentWidget(openFolder_);
  layout()->addWidget(status);

  settingsAction_ = new QAction("Settings…", this);
  settingsAction_->setObjectName("settingsAction");
  connect(settingsAction_, &QAction::triggered, this, &MainWindow::OpenSettings);
  signOutAction_ = new QAction("Sign out", this);
  signOutAction_->setObjectName("signOutAction");
  signOutAction_->setToolTip("Back to the sign-in page; the report stays");
  connect(signOutAction_, &QAction::triggered, this, &MainWindow::SignOut);
  quitAction_ = new QAction("Quit", this);
  quitAction_->setObjectName("quitAction");
  connect(quitAction_, &QAction::triggered, this, &QWidget::close);

  // In the page bar's corner, in reach on every page.
  auto* corner = new QWidget;
  auto* cl = new QHBoxLayout(corner);
  cl->setContentsMargins(0, 0, 2, 0);
  cl->setSpacing(0);
  for (auto [action, name] : {std::pair{settingsAction_, "settingsCornerButton"},
                              std::pair{signOutAction_, "signOutButton"}}) {
    auto* b = new QToolButton;
    b->setObjectName(name);
    b->setDefaultAction(action);
    b->setAutoRaise(true);
    cl->addWidget(b);
    if (action == signOutAction_) signOutButton_ = b;
  }
  pages_->setCornerWidget(corner, Qt::TopRightCorner);

  tray_ = new TrayIcon(this);
  auto* trayMenu = new QMenu(this);
  trayMenu->setObjectName("trayMenu");
  trayMenu->addAction("Show Trotix", this, [this] {
    tray_->hide();
    showNormal();
    activateWindow();
  });
  trayMenu->addAction(settingsAction_);
  trayMenu->addAction(signOutAction_);
  trayMenu->addSeparator();
  trayMenu->addAction(quitAction_);
  tray_->setContextMenu(trayMenu);
  connect(tray_, &TrayIcon::restoreRequested, this, [this] {
    showNormal();
    activateWindow();
  });

  autoRefresh_ = new QTimer(this);
  autoRefresh_->setObjectName("autoRefreshTimer");
  connect(autoRefresh_, &QTimer::timeout, this, [this] {
    if (shown().view.signedIn) ReloadMoves();  // a busy window tries at the next tick
  });
}

void MainWindow::AddShortcuts() {
  const auto add = [this](const QKeySequence& keys, auto slot) {
    auto* shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this, slot);
  };
  add(QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] { StepPage(1); });
  add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), [this] { StepPage(-1); });
  add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), [this] { StepPage(-1); });
  for (int n = 1; n <= 8; ++n)
    add(QKeySequence(Qt::CTRL | (Qt::Key_0 + n)), [this, n] { SelectVisiblePage(n); });
  add(QKeySequence::Save, [this] { Run([](Session& s) { s.SaveReport(); }); });
}

void MainWindow::StepPage(int step) {
  const int count = pages_->count();
  for (int i = 1; i < count; ++i) {
    const int page = ((pages_->currentIndex() + step * i) % count + count) % count;
    if (pages_->isTabVisible(page)) {
      pages_->setCurrentIndex(page);
      return;
    }
  }
}

void MainWindow::SelectVisiblePage(int n) {
  for (int page = 0; page < pages_->count(); ++page)
    if (pages_->isTabVisible(page) && --n == 0) {
      pages_->setCurrentIndex(page);
      return;
    }
}

void MainWindow::ConnectPages() {
  const auto run = [this](void (Session::*command)()) {
    return [this, command] { Run([command](Session& s) { (s.*command)(); }); };
  };
  const auto runRow = [this](void (Session::*command)(int)) {
    return [this, command](int row) { Run([command, row](Session& s) { (s.*command)(row); }); };
  };
  const auto runBestOf = [this](void (Session::*command)(bool)) {
    return [this, command](bool fromRealOdds) {
      Run([command, fromRealOdds](Session& s) { (s.*command)(fromRealOdds); });
    };
  };

  connect(signIn_, &SignInPage::signInRequested, this, &MainWindow::SignInWith);
  connect(signIn_, &SignInPage::siteLinkActivated, ports_, &GuiPorts::OpenInBrowser);
  connect(signIn_, &SignInPage::settingsRequested, this, &MainWindow::OpenSettings);
  connect(signIn_, &SignInPage::replayRequested, this, &MainWindow::ReplayDay);
  connect(signIn_, &SignInPage::demoHistoryRequested, this, &MainWindow::BuildDemoHistory);
  connect(scalpOdds_, &ScalpOddsPage::reloadRequested, this, &MainWindow::ReloadMoves);
  connect(today_, &TodayPage::raceActivated, this, runRow(&Session::AnalyseWithoutOdds));
  connect(zorvat_, &ZorvatPage::raceActivated, this, runRow(&Session::ScoreZorvatRace));
  connect(result_, &ResultPage::loadRequested, this, &MainWindow::LoadResultsOf);
  connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
    if (!showing_ && shown().view.signedIn) settings_->Set(Key::kPage, PageCaption(page));
  });
  connect(result_, &ResultPage::resultLinkClicked, this, runRow(&Session::OpenResultLink));
  connect(report_, &ReportPage::bestRecomingRequested, this, runBestOf(&Session::RunBestRecoming));
  connect(report_, &ReportPage::bestRankRequested, this, runBestOf(&Session::RunBestRank));
  connect(report_, &ReportPage::saveRequested, this, run(&Session::SaveReport));
  connect(report_, &ReportPage::exportCsvRequested, this, run(&Session::ExportReportCsv));
  connect(report_, &ReportPage::saveAsRequested, this, [this] { SaveReportAs(false); });
  connect(report_, &ReportPage::exportCsvAsRequested, this, [this] { SaveReportAs(true); });
  connect(report_, &ReportPage::clearRequested, this, &MainWindow::AskToClearReport);
  connect(report_, &ReportPage::rowSelected, this, runRow(&Session::SelectReportRow));
  connect(report_, &ReportPage::deleteRowRequested, this, run(&Session::DeleteReportRow));
  connect(report_, &ReportPage::settleRequested, this,
          [this] { Run([](Session& s) { s.Settle(); }); });
  connect(proof_, &ProofPage::figuresRequested, this,
          [this](const ProofQuery& q) { Run([q](Session& s) { s.ShowProof(q); }); });
  connect(proof_, &ProofPage::backtestRequested, this, [this](const Date& from, const Date& to) {
    Run([from, to](Session& s) { s.RunBacktest(from, to); });
  });
  connect(proof_, &ProofPage::exportRequested, this,
          [this](long long run, const std::string& method) {
            Run([run, method](Session& s) { s.ExportProofPicks(run, method); });
          });
  connect(allTable_, &AllTablePage::raceActivated, this, &MainWindow::OpenRace);
  connect(allTable_, &AllTablePage::runnerActivated, this, runRow(&Session::AddToReport));
  connect(allTable_, &AllTablePage::videoRequested, this, run(&Session::OpenVideo));
  connect(allTable_, &AllTablePage::marketRequested, this, run(&Session::OpenMarket));
}

void MainWindow::ConnectProgress() {
  progress_ = new ProgressPanel(this);
  connect(progress_, &ProgressPanel::cancelRequested, ports_, &GuiPorts::RequestCancel);
  connect(ports_, &GuiPorts::panelShown, progress_, &ProgressPanel::Request);
  connect(ports_, &GuiPorts::gaugeSet, progress_, &ProgressPanel::SetGauge);
  connect(ports_, &GuiPorts::gaugeShown, progress_, &ProgressPanel::ShowGauge);
  connect(ports_, &GuiPorts::captionSet, progress_, &ProgressPanel::SetCaption);
}

int MainWindow::Run(std::function<void(Session&)> command) {
  if (runner_->busy()) return 0;
  ports_->ResetCancel();
  return runner_->Post(std::move(command));
}

void MainWindow::SaveReportAs(bool csv) {
  if (shown().ws.REP.RowCount() == 0) {
    Say("The report is empty: nothing to save");
    return;
  }
  // The day's date in the name, so the reports of several days can stand side by side.
  const QString name = QString("report-%1.%2")
                           .arg(Display(FormatDate(ports_->clock().Today())), csv ? "csv" : "html");
  const QString path = ports_->AskSavePath(QDir(Display(options_.folder.string())).filePath(name),
                                           csv ? "CSV files (*.csv)" : "Web pages (*.html *.htm)");
  if (path.isEmpty()) return;
  const std::filesystem::path target(Input(path));
  if (csv)
    Run([target](Session& s) { s.ExportReportCsvAs(target); });
  else
    Run([target](Session& s) { s.SaveReportAs(target); });
}

void MainWindow::AskToClearReport() {
  const int rows = shown().ws.REP.RowCount();
  if (rows > 0 &&
      ports_->Ask(QString("Clear the report? Its %1 row(s) will be gone.").arg(rows),
                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
    return;
  Run([](Session& s) { s.ClearReport(); });
}

void MainWindow::ApplySettings() {
  QStringList notes;
  SessionOptions options = RunSessionOptions(*settings_, commandLine_, &notes);
  for (const QString& note : notes) Say(note);
  proof_->SetCommission(settings_->Get(Key::kProofCommissionPercent).toDouble() / 100);
  autoRefresh_->stop();
  if (const int minutes = settings_->Get(Key::kAutoRefreshMinutes).toInt(); minutes > 0)
    autoRefresh_->start(minutes * 60 * 1000);
  if (runner_->busy()) {
    settingsPending_ = true;  // handed over when the command ends
    return;
  }
  settingsPending_ = false;
  const bool newSignIn =
      options.hosts.dataServer != options_.hosts.dataServer || options.folder != options_.folder;
  options_ = options;
  signIn_->SetWebSite(options_.hosts.webSite);
  const int command = Run([options](Session& s) { s.UseSettings(options); });
  if (newSignIn) refillCommand_ = command;
}

void MainWindow::RestoreWindowState() {
  if (!restoreGeometry(settings_->Get(Key::kGeometry).toByteArray())) {
    resize(kClientWidth, kClientHeight);
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
  }
  report_->SetFromRealOdds(settings_->Get(Key::kFromRealOdds).toBool());
  proof_->SetCommission(settings_->Get(Key::kProofCommissionPercent).toDouble() / 100);
  if (const int minutes = settings_->Get(Key::kAutoRefreshMinutes).toInt(); minutes > 0)
    autoRefresh_->start(minutes * 60 * 1000);
}

void MainWindow::SaveWindowState() {
  settings_->Set(Key::kGeometry, saveGeometry());
  settings_->Set(Key::kFromRealOdds, report_->FromRealOdds());
  if (shown().view.signedIn) settings_->Set(Key::kPage, PageCaption(pages_->currentIndex()));
}

void MainWindow::ShowTables(const WorkspaceView& ws) {
  today_->Show(ws);
  scalpOdds_->Show(ws);
  indicator_->Show(ws);
  zorvat_->Show(ws);
  tips_->Show(ws);
  result_->Show(ws);
  report_->Show(ws);
  allTable_->Show(ws);
}

void MainWindow::ShowStep(const std::shared_ptr<const Snapshot>& snapshot) {
  ShowTables(snapshot->ws);
  allTable_->ShowView(snapshot->view);  // the race list follows the race on screen
  emit stepShown(snapshot->command);
}

void MainWindow::Show(const std::shared_ptr<const Snapshot>& snapshot) {
  const ViewState& view = snapshot->view;
  showing_ = true;
  ShowTables(snapshot->ws);
  // The figures need only the archive: no sign-in, and the command line has no such page.
  for (int p = 0; p < kPageCount; ++p)
    pages_->setTabVisible(p,
                          p == kPageProof ? sessions_->archive() != nullptr : view.tabVisible[p]);
  proof_->ShowReport(snapshot->proof);
  // Only a command that brings a page to the front moves the user away from theirs.
  if (view.pageRequests != pageRequestsShown_) pages_->setCurrentIndex(view.activePage);
  pageRequestsShown_ = view.pageRequests;
  // Signed in, the user is back on the page they left last time.
  if (view.signedIn && !signedInShown_) {
    const QString page = settings_->Get(Key::kPage).toString();
    for (int p = 0; p < kPageCount; ++p)
      if (pages_->isTabVisible(p) && page == PageCaption(p)) pages_->setCurrentIndex(p);
  }
  signedInShown_ = view.signedIn;
  showing_ = false;

  const int command = snapshot->command;
  if (command != 0 && command == startCommand_) {
    signIn_->Fill({login_.empty() ? view.login : login_,
                   password_.empty() ? view.password : password_, view.rememberMe});
    const QString date = settings_->Get(Key::kResultsDate).toString();
    result_->SetDate(date.isEmpty() ? view.resultsDate : Input(date));
  }
  if (command != 0 && command == refillCommand_ && !view.signedIn)
    signIn_->Fill({view.login, view.password, view.rememberMe});
  signIn_->ShowView(view);
  allTable_->ShowView(view);
  if (!runner_->busy()) ShowStoredDays();
  signOutAction_->setEnabled(view.signedIn);
  signOutButton_->setVisible(view.signedIn);
  if (view.vizVisible && command == resultsCommand_) result_->ShowNoInformation();
  ShowStatus(view);
  SetIdle(!runner_->busy());
  emit commandFinished(command);
  if (snapshot->closeRequested) close();

  if (settingsPending_ && !runner_->busy()) ApplySettings();
  if (saveThenClose_ && command != 0 && command == saveCommand_) {
    saveThenClose_ = false;
    if (!view.reportUnsaved) {
      closing_ = true;
      close();
    }
  } else if (saveThenClose_ && saveCommand_ == 0 && !runner_->busy()) {
    SaveThenClose();
  }
}

void MainWindow::ShowStoredDays() {
  if (!sessions_->archive()) return;
  // The worker is idle: nobody else uses the archive's connection now.
  try {
    signIn_->SetStoredDays(sessions_->archive()->Days());
  } catch (const ArchiveError&) {
    // The day list stays as it was; the next command's commit reports the failure.
  }
}

void MainWindow::ShowStatus(const ViewState& view) {
  for (; notesShown_ < view.notes.size(); ++notesShown_) Say(Display(view.notes[notesShown_]));
  if (view.saves != savesShown_ && !view.savedFile.empty()) {
    const QString file = QDir::toNativeSeparators(Display(view.savedFile));
    Say("Saved " + file);
    savedFolder_ = QFileInfo(file).absolutePath();
    openFolder_->show();
  }
  savesShown_ = view.saves;
}

void MainWindow::Say(const QString& text) {
  statusLine_->setText(text);
  statusLine_->setToolTip(text);
  openFolder_->hide();
}

void MainWindow::SetIdle(bool idle) {
  signIn_->SetIdle(idle);
  scalpOdds_->SetIdle(idle);
  result_->SetIdle(idle);
  report_->SetIdle(idle);
  proof_->SetIdle(idle);
  allTable_->SetIdle(idle);
}

void MainWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || !isMinimized()) return;
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
  // Minimised to the tray: the window leaves the task bar and the icon turns.
  QTimer::singleShot(0, this, &QWidget::hide);
  tray_->ShowTurning();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The progress panel stays in the middle of the window, whatever its size.
  progress_->move((width() - progress_->width()) / 2, (height() - progress_->height()) / 2);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!closing_ && shown().view.reportUnsaved) {
    const auto answer = ports_->Ask(
        "The report has rows that are not saved. Save them before Trotix closes?",
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) {
      event->ignore();
      return;
    }
    if (answer == QMessageBox::Save) {
      event->ignore();
      SaveThenClose();
      return;
    }
  }
  closing_ = true;
  SaveWindowState();
  if (!runner_->busy()) Run([](Session& s) { s.Close(); });
  tray_->hide();
  event->accept();
}

void MainWindow::SaveThenClose() {
  saveThenClose_ = true;
  saveCommand_ = Run([](Session& s) { s.SaveReport(); });
  // Running: it is asked to stop, and the save follows once it has.
  if (saveCommand_ == 0) ports_->RequestCancel();
}

}  // namespace trotix::gui
