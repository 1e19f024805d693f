#include "gui/main_window.h"

#include <QDir>
#include <QEvent>
#include <QPushButton>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/core_texts.h"
#include "gui/display_text.h"
#include "gui/keyboard_order.h"
#include "gui/pages/all_table_page.h"
#include "gui/pages/indicator_page.h"
#include "gui/pages/page_parts.h"
#include "gui/pages/proof_page.h"
#include "gui/pages/report_page.h"
#include "gui/pages/result_page.h"
#include "gui/pages/scalp_odds_page.h"
#include "gui/pages/sign_in_page.h"
#include "gui/pages/systems_page.h"
#include "gui/pages/tips_page.h"
#include "gui/pages/today_page.h"
#include "gui/pages/zorvat_page.h"
#include "gui/pictures.h"
#include "gui/progress_panel.h"
#include "gui/session_factory.h"
#include "gui/window_frame.h"

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

  sessions_ = std::make_unique<SessionFactory>(
      *ports_, std::move(options.web), std::move(options.zorvat), std::move(options.keepAlive),
      options.archive, options.dayClock);
  Attach(sessions_->Live(options_));

  AddPages();
  frame_ = new WindowFrame(this, pages_, *ports_);
  connect(frame_, &WindowFrame::settingsRequested, this, &MainWindow::OpenSettings);
  connect(frame_, &WindowFrame::signOutRequested, this, &MainWindow::SignOut);
  connect(frame_, &WindowFrame::saveRequested, this,
          [this] { Run([](Session& s) { s.SaveReport(); }); });
  autoRefresh_ = new QTimer(this);
  autoRefresh_->setObjectName("autoRefreshTimer");
  connect(autoRefresh_, &QTimer::timeout, this, [this] {
    if (shown().view.signedIn) ReloadMoves();  // a busy window tries at the next tick
  });
  ConnectPages();
  ConnectProgress();
  // Enter presses the focused button, as Space does, on every page.
  for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(true);
  SetKeyboardOrder(this);

  if (sessions_->archive()) signIn_->ShowArchive(static_cast<bool>(demoHistory_));
  Show(runner_->last());
  RestoreWindowState();
  frame_->Say(
      tr("Data folder: %1").arg(QDir::toNativeSeparators(Display(options_.folder.string()))));
  // One line, so that none hides another.
  if (!notes_.isEmpty()) frame_->Say(notes_.join("; "));
}

void MainWindow::Attach(MadeSession made) {
  const int first = runner_ ? runner_->nextCommand() : 1;
  liveArchive_ = made.recorder;
  runner_ = std::make_unique<SessionRunner>(std::move(made.session), std::move(made.keepAlive),
                                            ports_->messages(), first);
  runner_->SetAfterCommand(StoredDaysReader());
  ports_->SetStepHandler(
      [runner = runner_.get(), ports = ports_](const Workspace& ws, const RaceStep& race) {
        return runner->Step(ws, race, [ports] { return ports->cancelRequested(); });
      });
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
  // Packing needs no sign-in: asked while the window is still idle.
  startCommand_ = RunThenLookAtArchive([](Session& s) { s.Start(); }, true);
  if (!archiveNote_.empty()) ports_->ShowMessage(CoreText(archiveNote_));
  return startCommand_;
}

int MainWindow::SignIn() {
  return SignInWith(signIn_->Form());
}

int MainWindow::LoadResults() {
  result_->HideNoInformation();
  return LoadResultsOf(result_->Date());
}

int MainWindow::OpenRace(int row) {
  return RunSaying([row](Session& s) { s.AnalyseLive(row); }, RaceSaid());
}

int MainWindow::SignOut() {
  return RunSaying([](Session& s) { s.SignOut(); }, {tr("Sign-out"), [](const Snapshot&) {
                                                       return tr("Signed out; the report is kept");
                                                     }});
}

int MainWindow::ReloadMoves() {
  return RunSaying(
      [](Session& s) { s.ReloadMoves(); },
      {tr("Reload of the moves"), [](const Snapshot&) {
         return tr("Market moves reloaded at %1").arg(QTime::currentTime().toString("HH:mm:ss"));
       }});
}

int MainWindow::SignInWith(const SignInForm& form) {
  const auto signedIn = [](const Snapshot& s) {
    return s.view.signedIn ? tr("Signed in: %1 races today").arg(s.ws.MM.RowCount())
                           : tr("Not signed in");
  };
  return RunSaying(
      [form, archive = liveArchive_, keep = signIn_->KeepAnswers()](Session& s) {
        if (archive) archive->SetRecording(keep);
        s.SignIn(form);
      },
      {tr("Sign-in"), signedIn});
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
  for (int p = 0; p < kPageCount; ++p)
    pages_->addTab(byIndex[p], icons[kIcon[p]], CoreText(PageCaption(p)));
  systems_ = new SystemsPage;
  pages_->addTab(systems_, icons[kIcon[kPageProof]], tr("Systems"));

  // Outside the pages: the sorted list box the Zorvat scoring orders runners with.
  auto* listBox = new QWidget(this);
  listBox->setObjectName("ListBox1");
  listBox->hide();
}

void MainWindow::ConnectPages() {
  const auto run = [this](void (Session::*command)()) {
    return [this, command] { Run([command](Session& s) { (s.*command)(); }); };
  };
  const auto runRow = [this](void (Session::*command)(int)) {
    return [this, command](int row) { Run([command, row](Session& s) { (s.*command)(row); }); };
  };
  const auto runBestOf = [this](void (Session::*command)(bool), const QString& name) {
    return [this, command, name](bool fromRealOdds) {
      RunSaying([command, fromRealOdds](Session& s) { (s.*command)(fromRealOdds); },
                {name, [name](const Snapshot& s) {
                   return tr("%1: done, %2 rows in the report").arg(name).arg(s.ws.REP.RowCount());
                 }});
    };
  };

  connect(signIn_, &SignInPage::signInRequested, this, &MainWindow::SignInWith);
  connect(signIn_, &SignInPage::siteLinkActivated, ports_, &GuiPorts::OpenInBrowser);
  connect(signIn_, &SignInPage::settingsRequested, this, &MainWindow::OpenSettings);
  connect(signIn_, &SignInPage::replayRequested, this, &MainWindow::ReplayDay);
  connect(signIn_, &SignInPage::demoHistoryRequested, this, &MainWindow::BuildDemoHistory);
  connect(scalpOdds_, &ScalpOddsPage::reloadRequested, this, &MainWindow::ReloadMoves);
  const auto runRace = [this](void (Session::*command)(int)) {
    return [this, command](int row) {
      RunSaying([command, row](Session& s) { (s.*command)(row); }, RaceSaid());
    };
  };
  connect(today_, &TodayPage::raceActivated, this, runRace(&Session::AnalyseWithoutOdds));
  connect(zorvat_, &ZorvatPage::raceActivated, this, runRace(&Session::ScoreZorvatRace));
  connect(result_, &ResultPage::loadRequested, this, &MainWindow::LoadResultsOf);
  connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
    if (!showing_ && shown().view.signedIn) settings_->Set(Key::kPage, PageCaption(page));
  });
  connect(result_, &ResultPage::resultLinkClicked, this, runRow(&Session::OpenResultLink));
  connect(report_, &ReportPage::bestRecomingRequested, this,
          runBestOf(&Session::RunBestRecoming, "Best Recoming"));
  connect(report_, &ReportPage::bestRankRequested, this,
          runBestOf(&Session::RunBestRank, "Best Rank"));
  connect(report_, &ReportPage::saveRequested, this, run(&Session::SaveReport));
  connect(report_, &ReportPage::exportCsvRequested, this, run(&Session::ExportReportCsv));
  connect(report_, &ReportPage::saveAsRequested, this, [this] { SaveReportAs(false); });
  connect(report_, &ReportPage::exportCsvAsRequested, this, [this] { SaveReportAs(true); });
  connect(report_, &ReportPage::clearRequested, this, &MainWindow::AskToClearReport);
  connect(report_, &ReportPage::rowSelected, this, runRow(&Session::SelectReportRow));
  connect(report_, &ReportPage::deleteRowRequested, this, [this](int row) {
    Run([row](Session& s) {
      if (row >= 0) s.SelectReportRow(row);
      s.DeleteReportRow();
    });
  });
  connect(report_, &ReportPage::settleRequested, this,
          [this] { Run([](Session& s) { s.Settle(); }); });
  connect(proof_, &ProofPage::figuresRequested, this,
          [this](const ProofQuery& q) { Run([q](Session& s) { s.ShowProof(q); }); });
  connect(proof_, &ProofPage::backtestRequested, this, [this](const Date& from, const Date& to) {
    Run([from, to](Session& s) { s.RunBacktest(from, to); });
  });
  connect(proof_, &ProofPage::recordExportRequested, this,
          [this] { Run([](Session& s) { s.ExportLedger(); }); });
  connect(proof_, &ProofPage::digestRequested, this,
          [this] { Run([](Session& s) { s.ShowLedgerDigest(); }); });
  connect(proof_, &ProofPage::exportRequested, this,
          [this](long long run, const std::string& method) {
            Run([run, method](Session& s) { s.ExportProofPicks(run, method); });
          });
  connect(report_, &ReportPage::runSystemsRequested, this, [this](bool fromRealOdds) {
    Run([fromRealOdds](Session& s) { s.RunSystems(fromRealOdds); });
  });
  connect(systems_, &SystemsPage::figuresRequested, this,
          [this](const SystemsQuery& q) { Run([q](Session& s) { s.ShowSystems(q); }); });
  connect(systems_, &SystemsPage::saveRequested, this,
          [this](const std::string& name, const systems::Rule& rule, const SystemsQuery& q) {
            Run([name, rule, q](Session& s) {
              const SystemSave saved = s.SaveSystem(name, rule);
              SystemsQuery shown = q;
              if (saved.error.empty()) shown.method = saved.savedAs;
              s.ShowSystems(
                  shown, saved.error.empty()
                             ? "Saved as " + saved.savedAs +
                                   (saved.newVersion ? ": its rule changed after live picks" : "")
                             : saved.error);
            });
          });
  connect(systems_, &SystemsPage::renameRequested, this,
          [this](const std::string& from, const std::string& to, const SystemsQuery& q) {
            Run([from, to, q](Session& s) {
              const std::string error = s.RenameSystem(from, to);
              SystemsQuery shown = q;
              if (error.empty()) shown.method = to;
              s.ShowSystems(shown, error);
            });
          });
  connect(systems_, &SystemsPage::deleteRequested, this,
          [this](const std::string& name, const SystemsQuery& q) {
            Run([name, q](Session& s) {
              const std::string error = s.DeleteSystem(name);
              SystemsQuery shown = q;
              shown.method = "(unsaved)";
              s.ShowSystems(shown, error);
            });
          });
  connect(systems_, &SystemsPage::fillRequested, this, [this](const SystemsQuery& q) {
    Run([q](Session& s) {
      s.FillRunnerParts();
      s.ShowSystems(q);
    });
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
  // A best-of run adds rows to the report: its panel stands in the report's empty corner.
  progress_->SetRunArea([this] {
    const QWidget* area = report_->RunProgressArea();
    if (!area->isVisible()) return QRect();
    return QRect(area->mapTo(this, QPoint(0, 0)), area->size());
  });
  // A message box of a command is the one thing on screen: no panel and no greyed buttons
  // behind it.
  connect(ports_, &GuiPorts::messageShown, this, [this](bool shown) {
    progress_->Pause(shown);
    SetIdle(shown || !runner_->busy());
  });
}

int MainWindow::Run(std::function<void(Session&)> command) {
  if (runner_->busy()) return 0;
  ports_->ResetCancel();
  return runner_->Post(std::move(command));
}

void MainWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || !isMinimized()) return;
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
  // Minimised to the tray: the window leaves the task bar and the icon turns.
  QTimer::singleShot(0, this, &QWidget::hide);
  frame_->ShowTray();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The progress panel stays in its place, whatever the window's size.
  progress_->Place();
}

}  // namespace trotix::gui
