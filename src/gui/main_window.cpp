#include "gui/main_window.h"

#include <QCloseEvent>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

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

MainWindow::MainWindow(WindowOptions options, QWidget* parent)
    : QWidget(parent),
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
  };
  auto clients = std::make_shared<Clients>();
  clients->web = std::move(options.web);
  clients->zorvat = std::move(options.zorvat);
  clients->keepAlive = std::move(options.keepAlive);
  auto session = std::make_unique<Session>(
      std::move(options.session),
      SessionPorts{*clients->web, *clients->zorvat, ports_->browser(), ports_->messages(),
                   ports_->progress(), ports_->clock()});
  runner_ = std::make_unique<SessionRunner>(std::move(session), clients, ports_->messages());
  ports_->SetStepHandler([runner = runner_.get()](const Workspace& ws) { runner->Step(ws); });

  AddPages();
  ConnectPages();
  ConnectProgress();
  tray_ = new TrayIcon(this);
  connect(tray_, &TrayIcon::restoreRequested, this, [this] {
    showNormal();
    activateWindow();
  });

  connect(runner_.get(), &SessionRunner::busyChanged, this, [this](bool busy) {
    progress_->SetBusy(busy);
    SetIdle(!busy);
  });
  connect(runner_.get(), &SessionRunner::finished, this, &MainWindow::Show);
  connect(runner_.get(), &SessionRunner::stepped, this, &MainWindow::ShowStep);
  Show(runner_->last());

  if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
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
  return Run([row](Session& s) { s.AnalyseLive(row); });
}

int MainWindow::SignInWith(const SignInForm& form) {
  return Run([form](Session& s) { s.SignIn(form); });
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
  if (view.vizVisible && snapshot->command == resultsCommand_) result_->ShowNoInformation();
  SetIdle(!runner_->busy());
  emit commandFinished(snapshot->command);
  if (snapshot->closeRequested) close();
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
