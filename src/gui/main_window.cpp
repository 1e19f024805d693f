#include "gui/main_window.h"

#include <QCloseEvent>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include "archive/archive_http_client.h"
#include "archive/recording_http_client.h"
#include "archive/session_archive.h"

#include "gui/pages/all_table_page.h"
#include "gui/pages/indicator_page.h"
#include "gui/pages/page_parts.h"
#include "gui/pages/report_page.h"
#include "gui/pages/result_page.h"
#include "gui/pages/scalp_odds_page.h"
#include "gui/pages/sign_in_page.h"
#include "gui/pages/tips_page.h"
#include "gui/pages/today_page.h"
#include "gui/pages/zorvat_page.h"
#include "gui/pictures.h"
#include "gui/progress_panel.h"
#include "gui/tray_icon.h"

namespace trotix::gui {
namespace {

// A replayed day's clock: the date is the day's, the time of day the machine's.
class DayClock : public Clock {
 public:
  DayClock(const Date& day, Clock& machine) : day_(day), machine_(machine) {}
  Date Today() override { return day_; }
  TimeOfDay Now() override { return machine_.Now(); }

 private:
  Date day_;
  Clock& machine_;
};

}  // namespace

MainWindow::MainWindow(WindowOptions options, QWidget* parent)
    : QWidget(parent),
      sessionOptions_(options.session),
      archive_(std::move(options.archive)),
      archiveNote_(std::move(options.archiveNote)),
      demoHistory_(std::move(options.demoHistory)),
      webSite_(options.session.hosts.webSite),
      login_(std::move(options.login)),
      password_(std::move(options.password)),
      ports_(new GuiPorts(this)) {
  setObjectName("mainWindow");
  setWindowTitle("Trotix");
  setWindowIcon(AppIcon());
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  ports_->SetDialogParent(this);

  struct Clients {
    std::unique_ptr<HttpClient> web, zorvat;
    std::shared_ptr<void> keepAlive;
    std::shared_ptr<SqliteArchive> store;
    std::unique_ptr<SessionArchive> archive;
    std::unique_ptr<HttpClient> recordedWeb, recordedZorvat;
  };
  auto clients = std::make_shared<Clients>();
  clients->web = std::move(options.web);
  clients->zorvat = std::move(options.zorvat);
  clients->keepAlive = std::move(options.keepAlive);
  HttpClient* web = clients->web.get();
  HttpClient* zorvat = clients->zorvat.get();
  if (archive_) {
    const Hosts& hosts = sessionOptions_.hosts;
    clients->store = archive_;
    clients->archive = std::make_unique<SessionArchive>(*archive_);
    clients->recordedWeb = std::make_unique<RecordingHttpClient>(*web, *clients->archive, hosts);
    clients->recordedZorvat =
        std::make_unique<RecordingHttpClient>(*zorvat, *clients->archive, hosts);
    web = clients->recordedWeb.get();
    zorvat = clients->recordedZorvat.get();
    liveArchive_ = clients->archive.get();
  }
  auto session = std::make_unique<Session>(
      std::move(options.session),
      SessionPorts{*web, *zorvat, ports_->browser(), ports_->messages(), ports_->progress(),
                   ports_->clock(), clients->archive.get()});

  Attach(std::move(session), clients);
  AddPages();
  ConnectPages();
  ConnectProgress();
  if (archive_) signIn_->ShowArchive(static_cast<bool>(demoHistory_));
  tray_ = new TrayIcon(this);
  connect(tray_, &TrayIcon::restoreRequested, this, [this] {
    showNormal();
    activateWindow();
  });
  Show(runner_->last());

  if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

void MainWindow::Attach(std::unique_ptr<Session> session, std::shared_ptr<void> keepAlive) {
  const int first = runner_ ? runner_->nextCommand() : 1;
  runner_ = std::make_unique<SessionRunner>(std::move(session), std::move(keepAlive),
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
  // The worker may still be inside a command that reports to this window's ports: it is asked to
  // stop, and whatever it waits for is answered without boxes.
  ports_->RequestCancel();
  ports_->SetMessageHook([](const QString&) {});
  runner_->Shutdown(ports_);
  runner_.reset();
}

int MainWindow::Start() {
  startCommand_ = Run([](Session& s) { s.Start(); });
  if (!archiveNote_.empty()) ports_->ShowMessage(QString::fromStdString(archiveNote_));
  return startCommand_;
}

int MainWindow::ReplayDay(const Date& day) {
  if (runner_->busy() || !archive_) return 0;
  struct Replay {
    std::shared_ptr<SqliteArchive> store;
    std::unique_ptr<SessionArchive> archive;
    std::unique_ptr<HttpClient> client;
    std::unique_ptr<Clock> clock;
  };
  auto replay = std::make_shared<Replay>();
  SessionOptions options = sessionOptions_;
  try {
    const auto stored = archive_->LoadDay(day);
    if (!stored) {
      ports_->ShowMessage(QString::fromStdString("The archive holds no day " + FormatDate(day)));
      return 0;
    }
    replay->archive = std::make_unique<SessionArchive>(*archive_, day);
    replay->client = std::make_unique<ArchiveHttpClient>(stored->answers, stored->hosts);
    // The day's own hosts: every address the session builds is the one recorded.
    options.hosts = stored->hosts;
  } catch (const ArchiveError& e) {
    ports_->ShowMessage(QString::fromStdString(e.what()));
    return 0;
  }
  replay->store = archive_;
  replay->clock = std::make_unique<DayClock>(day, ports_->clock());
  auto session = std::make_unique<Session>(
      options, SessionPorts{*replay->client, *replay->client, ports_->browser(), ports_->messages(),
                            ports_->progress(), *replay->clock, replay->archive.get()});
  liveArchive_ = nullptr;
  Attach(std::move(session), replay);
  setWindowTitle(QString::fromStdString("Trotix - " + FormatDate(day) + " from the archive"));
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

int MainWindow::SignInWith(const SignInForm& form) {
  return Run([form, archive = liveArchive_, keep = signIn_->KeepAnswers()](Session& s) {
    if (archive) archive->SetRecording(keep);
    s.SignIn(form);
  });
}

int MainWindow::LoadResultsOf(const std::string& date) {
  const int command = Run([date](Session& s) { s.LoadResults(date); });
  if (command != 0) resultsCommand_ = command;
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
  byIndex[kPageAbout] = signIn_ = new SignInPage(webSite_);
  byIndex[kPageAllTable] = allTable_ = new AllTablePage(ws);
  byIndex[kPageSelectCourse]->setObjectName("selectCoursePage");
  byIndex[kPageStatsHorse]->setObjectName("statsHorsePage");

  // The icon list ends with "ALL TABLE", "About" and "Report", in that order.
  constexpr int kIcon[kPageCount] = {0, 1, 2, 3, 4, 5, 6, 7, 10, 9, 8};
  const auto icons = TabIcons();
  for (int p = 0; p < kPageCount; ++p) pages_->addTab(byIndex[p], icons[kIcon[p]], PageCaption(p));

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
  const auto runBestOf = [this](void (Session::*command)(bool)) {
    return [this, command](bool fromRealOdds) {
      Run([command, fromRealOdds](Session& s) { (s.*command)(fromRealOdds); });
    };
  };

  connect(signIn_, &SignInPage::signInRequested, this, &MainWindow::SignInWith);
  connect(signIn_, &SignInPage::siteLinkActivated, ports_, &GuiPorts::OpenInBrowser);
  connect(signIn_, &SignInPage::replayRequested, this, &MainWindow::ReplayDay);
  connect(signIn_, &SignInPage::demoHistoryRequested, this, &MainWindow::BuildDemoHistory);
  connect(today_, &TodayPage::raceActivated, this, runRow(&Session::AnalyseWithoutOdds));
  connect(zorvat_, &ZorvatPage::raceActivated, this, runRow(&Session::ScoreZorvatRace));
  connect(result_, &ResultPage::loadRequested, this, &MainWindow::LoadResultsOf);
  connect(result_, &ResultPage::resultLinkClicked, this, runRow(&Session::OpenResultLink));
  connect(report_, &ReportPage::bestRecomingRequested, this, runBestOf(&Session::RunBestRecoming));
  connect(report_, &ReportPage::bestRankRequested, this, runBestOf(&Session::RunBestRank));
  connect(report_, &ReportPage::saveRequested, this, run(&Session::SaveReport));
  connect(report_, &ReportPage::exportCsvRequested, this, run(&Session::ExportReportCsv));
  connect(report_, &ReportPage::clearRequested, this, run(&Session::ClearReport));
  connect(report_, &ReportPage::rowSelected, this, runRow(&Session::SelectReportRow));
  connect(report_, &ReportPage::deleteRowRequested, this, run(&Session::DeleteReportRow));
  connect(report_, &ReportPage::settleRequested, this,
          [this] { Run([](Session& s) { s.Settle(); }); });
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
}

int MainWindow::Run(std::function<void(Session&)> command) {
  if (runner_->busy()) return 0;
  ports_->ResetCancel();
  return runner_->Post(std::move(command));
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
  ShowTables(snapshot->ws);
  for (int p = 0; p < kPageCount; ++p) pages_->setTabVisible(p, view.tabVisible[p]);
  // Only a command that brings a page to the front moves the user away from theirs.
  if (view.pageRequests != pageRequestsShown_) pages_->setCurrentIndex(view.activePage);
  pageRequestsShown_ = view.pageRequests;

  if (snapshot->command != 0 && snapshot->command == startCommand_) {
    signIn_->Fill({login_.empty() ? view.login : login_,
                   password_.empty() ? view.password : password_, view.rememberMe});
    result_->SetDate(view.resultsDate);
  }
  signIn_->ShowView(view);
  allTable_->ShowView(view);
  if (!runner_->busy()) ShowStoredDays();
  if (view.vizVisible && snapshot->command == resultsCommand_) result_->ShowNoInformation();
  SetIdle(!runner_->busy());
  emit commandFinished(snapshot->command);
  if (snapshot->closeRequested) close();
}

void MainWindow::ShowStoredDays() {
  if (!archive_) return;
  // The worker is idle: nobody else uses the archive's connection now.
  try {
    signIn_->SetStoredDays(archive_->Days());
  } catch (const ArchiveError&) {
    // The day list stays as it was; the next command's commit reports the failure.
  }
}

void MainWindow::SetIdle(bool idle) {
  signIn_->SetIdle(idle);
  result_->SetIdle(idle);
  report_->SetIdle(idle);
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

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!runner_->busy()) Run([](Session& s) { s.Close(); });
  tray_->hide();
  event->accept();
}

}  // namespace trotix::gui
