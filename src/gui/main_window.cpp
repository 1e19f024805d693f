#include "gui/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/display_text.h"
#include "gui/pages/grid_view.h"
#include "gui/pages/indicator_page.h"
#include "gui/pages/page_parts.h"
#include "gui/pages/scalp_odds_page.h"
#include "gui/pages/tips_page.h"
#include "gui/pages/today_page.h"
#include "gui/pages/zorvat_page.h"
#include "gui/pictures.h"
#include "gui/progress_panel.h"
#include "gui/summa_chart.h"
#include "gui/tray_icon.h"
#include "model/columns.h"

namespace trotix::gui {
namespace {

constexpr int kVizMilliseconds = 5000;

// Sheet names and tab icons, by page index.
struct Sheet {
  const char* name;
  int icon;
};
constexpr Sheet kSheets[kPageCount] = {
    {"spSkinTabSheet1", 0}, {"spSkinTabSheet2", 1}, {"spSkinTabSheet3", 2},
    {"spSkinTabSheet4", 3}, {"spSkinTabSheet6", 4}, {"spSkinTabSheet7", 5},
    {"spSkinTabSheet8", 6}, {"spSkinTabSheet9", 7}, {"spSkinTabSheet11", 10},
    {"spSkinTabSheet5", 9}, {"spSkinTabSheet10", 8}};

}  // namespace

MainWindow::MainWindow(WindowOptions options, QWidget* parent)
    : QWidget(parent),
      webSite_(options.session.hosts.webSite),
      login_(std::move(options.login)),
      password_(std::move(options.password)),
      ports_(new GuiPorts(this)) {
  setObjectName("Form1");
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

  BuildPages();
  BuildProgressPanel();
  BuildTray();

  connect(runner_.get(), &SessionRunner::busyChanged, this, &MainWindow::OnBusy);
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
  const SignInForm form{Input(loginedit_->text()), Input(passedit_->text()), zap_->isChecked()};
  return Run([form](Session& s) { s.SignIn(form); });
}

int MainWindow::LoadResults() {
  viz_->hide();
  vizTimer_->stop();
  const std::string date = Input(datas_->text());
  const int command = Run([date](Session& s) { s.LoadResults(date); });
  if (command != 0) resultsCommand_ = command;
  return command;
}

int MainWindow::OpenRace(int row) {
  return Run([row](Session& s) { s.AnalyseLive(row); });
}

// ---------------------------------------------------------------------------------------------
// Pages

void MainWindow::BuildPages() {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  page_ = new QTabWidget(this);
  page_->setObjectName("PAGE");
  page_->setDocumentMode(false);
  page_->setIconSize(QSize(16, 16));
  outer->addWidget(page_);

  const auto icons = TabIcons();
  for (int p = 0; p < kPageCount; ++p) {
    QWidget* sheet = nullptr;
    switch (p) {
      case kPageToday:
        sheet = today_ = new TodayPage(runner_->last()->ws);
        break;
      case kPageScalpOdds:
        sheet = scalpOdds_ = new ScalpOddsPage(runner_->last()->ws);
        break;
      case kPageIndicatorBF:
        sheet = indicator_ = new IndicatorPage(runner_->last()->ws);
        break;
      case kPageZorvat:
        sheet = zorvat_ = new ZorvatPage(runner_->last()->ws);
        break;
      case kPageTips:
        sheet = tips_ = new TipsPage(runner_->last()->ws);
        break;
      case kPageResult:
        sheet = BuildResult();
        break;
      case kPageReport:
        sheet = BuildReport();
        break;
      case kPageAbout:
        sheet = BuildAbout();
        break;
      case kPageAllTable:
        sheet = BuildAllTable();
        break;
      default:
        sheet = new QWidget;
        break;  // "Select Course", "Stats Horse": never shown
    }
    sheet->setObjectName(kSheets[p].name);
    page_->addTab(sheet, icons[kSheets[p].icon], PageCaption(p));
  }

  connect(today_, &TodayPage::raceActivated, this,
          [this](int row) { Run([row](Session& s) { s.AnalyseWithoutOdds(row); }); });
  connect(zorvat_, &ZorvatPage::raceActivated, this,
          [this](int row) { Run([row](Session& s) { s.ScoreZorvatRace(row); }); });

  // Outside the pages: the sorted list box the Zorvat scoring orders runners with.
  auto* listBox = new QWidget(this);
  listBox->setObjectName("ListBox1");
  listBox->hide();
}

QTableView* MainWindow::Grid(const char* name, bool wholeRows) {
  const Table* source = nullptr;
  for (const auto& [n, t] : runner_->last()->ws.Tables())
    if (n == name) source = t;
  auto* view = new GridView(name, source ? *source : Table(),
                            wholeRows ? GridView::Select::Rows : GridView::Select::Cells);
  const auto& columns = source ? source->Columns() : std::vector<Column>();
  if (!columns.empty() && columns[0].kind == ColumnKind::Image)
    view->SetPictures(0, FlagPictures());
  grids_[name] = view;
  return view;
}

QLabel* MainWindow::Label(const char* name, const QString& text) {
  QLabel* label = MakeLabel(name, text);
  labels_[name] = label;
  return label;
}

QWidget* MainWindow::BuildResult() {
  auto* page = new QWidget;
  auto* l = PageColumn(page);
  auto* bar = new QHBoxLayout;
  bar->addWidget(new QLabel("Date:"));
  datas_ = new QLineEdit;
  datas_->setObjectName("datas");
  datas_->setInputMask("99.99.9999");
  datas_->setFixedWidth(96);
  bar->addWidget(datas_);
  QPushButton* load = MakeButton("spSkinXFormButton5", "LOAD");
  load->setFixedWidth(90);
  commandButtons_["spSkinXFormButton5"] = load;
  connect(load, &QPushButton::clicked, this, &MainWindow::LoadResults);
  bar->addWidget(load);
  bar->addStretch();
  l->addLayout(bar);
  QTableView* rez = Grid("REZ", true);
  grids_["REZ"]->SetPictures(rez::kLink, LinkPictures());
  l->addWidget(rez);
  connect(rez, &QTableView::clicked, this, [this](const QModelIndex& i) {
    const int col = i.column(), row = i.row();
    if (col == rez::kLink) Run([row](Session& s) { s.OpenResultLink(row); });
  });

  // "No Information": laid over the grid, shown for a few seconds after an empty load.
  viz_ = new QFrame(page);
  viz_->setObjectName("viz");
  viz_->setFrameShape(QFrame::Box);
  viz_->setStyleSheet(
      "#viz { background: #fff8e1; border: 1px solid #c8a04a; border-radius: 4px; }");
  auto* vl = new QVBoxLayout(viz_);
  auto* title = new QLabel("No Information");
  title->setFont(Larger(title->font(), 8));
  title->setAlignment(Qt::AlignCenter);
  auto* later = new QLabel("please try again later ...");
  later->setAlignment(Qt::AlignCenter);
  vl->addWidget(title);
  vl->addWidget(later);
  viz_->setGeometry((kClientWidth - 320) / 2, 180, 320, 110);
  viz_->hide();
  vizTimer_ = new QTimer(this);
  vizTimer_->setObjectName("vizTimer");
  vizTimer_->setSingleShot(true);
  vizTimer_->setTimerType(Qt::PreciseTimer);
  connect(vizTimer_, &QTimer::timeout, viz_, &QWidget::hide);
  return page;
}

QWidget* MainWindow::BuildReport() {
  auto* page = new QWidget;
  auto* l = new QHBoxLayout(page);
  l->setContentsMargins(6, 6, 6, 6);
  auto* left = new QFrame;
  left->setObjectName("ReportPanel");
  left->setFrameShape(QFrame::StyledPanel);
  left->setFixedWidth(170);
  auto* ll = new QVBoxLayout(left);
  rkef_ = new QCheckBox("From Real Odds");
  rkef_->setObjectName("rkef");
  rkef_->setChecked(true);
  ll->addWidget(rkef_);
  const auto add = [&](const char* name, const char* caption, void (Session::*click)()) {
    QPushButton* b = MakeButton(name, caption);
    commandButtons_[name] = b;
    connect(b, &QPushButton::clicked, this,
            [this, click] { Run([click](Session& s) { (s.*click)(); }); });
    return b;
  };
  const auto bestOf = [&](const char* name, const char* caption, void (Session::*run)(bool)) {
    QPushButton* b = MakeButton(name, caption);
    commandButtons_[name] = b;
    connect(b, &QPushButton::clicked, this, [this, run] {
      const bool fromRealOdds = rkef_->isChecked();
      Run([run, fromRealOdds](Session& s) { (s.*run)(fromRealOdds); });
    });
    return b;
  };
  ll->addWidget(bestOf("spSkinXFormButton7", "Best Recoming", &Session::RunBestRecoming));
  ll->addWidget(bestOf("spSkinXFormButton8", "Best Rank", &Session::RunBestRank));
  ll->addSpacing(14);
  auto* saveRow = new QHBoxLayout;
  saveRow->setSpacing(4);
  saveRow->addWidget(add("spSkinXFormButton9", "Save", &Session::SaveReport));
  QPushButton* csv = add("exportCsvButton", "Export CSV", &Session::ExportReportCsv);
  csv->setToolTip("Write the report as report.csv");
  saveRow->addWidget(csv);
  ll->addLayout(saveRow);
  ll->addWidget(add("spSkinXFormButton10", "Clear", &Session::ClearReport));
  QTableView* nextGrid = new QTableView;  // the second grid of the page has no columns
  nextGrid->setObjectName("NextGrid4");
  nextGrid->verticalHeader()->hide();
  ll->addWidget(nextGrid, 1);
  l->addWidget(left);

  QTableView* rep = Grid("REP", true);
  l->addWidget(rep, 1);
  connect(rep, &QTableView::clicked, this, [this](const QModelIndex& i) {
    const int row = i.row();
    Run([row](Session& s) { s.SelectReportRow(row); });
  });
  repMenu_ = new QMenu(this);
  repMenu_->setObjectName("spSkinPopupMenu1");
  QAction* n1 = repMenu_->addAction("Удалить");
  n1->setObjectName("N1");
  connect(n1, &QAction::triggered, this, [this] { Run([](Session& s) { s.DeleteReportRow(); }); });
  rep->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(rep, &QWidget::customContextMenuRequested, this,
          [this, rep](const QPoint& at) { repMenu_->popup(rep->viewport()->mapToGlobal(at)); });
  return page;
}

QWidget* MainWindow::BuildAbout() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(0, 0, 0, 0);
  auto* background = new QLabel;
  background->setObjectName("spSkinImage1");
  background->setPixmap(AboutBackground(QSize(kClientWidth, kClientHeight - 30)));
  background->setScaledContents(true);
  background->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  grid->addWidget(background, 0, 0);
  auto* over = new QGridLayout(background);
  over->setContentsMargins(0, 0, 30, 24);

  // Text rather than pixels of the picture, so it stays sharp and can be read out or translated.
  auto* title = new QLabel("TROTIX");
  title->setObjectName("aboutTitle");
  QFont titleFont = title->font();
  titleFont.setPixelSize(54);
  titleFont.setBold(true);
  titleFont.setLetterSpacing(QFont::AbsoluteSpacing, 6);
  title->setFont(titleFont);
  title->setStyleSheet("color: rgba(255, 255, 255, 230);");
  auto* tagline = new QLabel("Race-day analysis for exchange bettors");
  tagline->setObjectName("aboutTagline");
  QFont taglineFont = tagline->font();
  taglineFont.setPixelSize(15);
  tagline->setFont(taglineFont);
  tagline->setStyleSheet("color: #dcf0dc;");
  tagline->setContentsMargins(4, 0, 0, 0);
  auto* heading = new QVBoxLayout;
  heading->setContentsMargins(40, 38, 0, 0);
  heading->setSpacing(2);
  heading->addWidget(title);
  heading->addWidget(tagline);
  over->addLayout(heading, 0, 0, Qt::AlignLeft | Qt::AlignTop);

  auto* panel = new QFrame;
  panel->setObjectName("SignInPanel");
  panel->setFixedSize(330, 230);
  panel->setStyleSheet(
      "#SignInPanel { background: rgba(0, 0, 0, 120); border-radius: 8px; }"
      "#SignInPanel QLabel, #SignInPanel QCheckBox { color: white; }");
  auto* form = new QGridLayout(panel);
  form->setContentsMargins(18, 16, 18, 12);
  form->setVerticalSpacing(8);
  form->addWidget(Label("spSkinLabel1", "LOGIN:"), 0, 0);
  loginedit_ = new QLineEdit;
  loginedit_->setObjectName("loginedit");
  form->addWidget(loginedit_, 0, 1);
  form->addWidget(Label("spSkinLabel2", "PASSWORD:"), 1, 0);
  passedit_ = new QLineEdit;
  passedit_->setObjectName("passedit");
  passedit_->setEchoMode(QLineEdit::Password);
  form->addWidget(passedit_, 1, 1);
  zap_ = new QCheckBox("Remember me");
  zap_->setObjectName("zap");
  form->addWidget(zap_, 2, 1);
  QPushButton* enter = MakeButton("spSkinXFormButton1", "ВХОД");
  enter->setFont(Larger(enter->font(), 1));
  commandButtons_["spSkinXFormButton1"] = enter;
  connect(enter, &QPushButton::clicked, this, &MainWindow::SignIn);
  connect(passedit_, &QLineEdit::returnPressed, enter, &QPushButton::click);
  form->addWidget(enter, 3, 1);
  form->addWidget(Label("spSkinLabel5", QString("VERSION: ") + kVersion.data()), 4, 0, 1, 2);
  const QString site = Display(webSite_);
  auto* link = Label("spSkinLinkLabel1",
                     QString("<a href=\"%1\"><span style=\"color:#ffd54f\">%1</span></a>")
                         .arg(site.toHtmlEscaped()));
  link->setTextFormat(Qt::RichText);
  link->setOpenExternalLinks(false);
  connect(link, &QLabel::linkActivated, ports_, &GuiPorts::OpenInBrowser);
  form->addWidget(link, 5, 0, 1, 2);
  over->addWidget(panel, 0, 0, Qt::AlignRight | Qt::AlignBottom);
  return page;
}

QWidget* MainWindow::BuildAllTable() {
  auto* page = new QWidget;
  auto* l = PageColumn(page);
  auto* split = new QSplitter(Qt::Vertical);
  split->setObjectName("allTableSplitter");
  split->setChildrenCollapsible(false);
  l->addWidget(split);
  auto* upper = new QWidget;
  auto* top = new QHBoxLayout(upper);
  top->setContentsMargins(0, 0, 0, 0);
  QTableView* mm = Grid("MM", true);
  mm->setFixedWidth(186);
  top->addWidget(mm);
  connect(mm, &QTableView::doubleClicked, this,
          [this](const QModelIndex& i) { OnCellDblClick("MM", i.row()); });

  auto* right = new QVBoxLayout;
  auto* head = new QGridLayout;
  head->setHorizontalSpacing(12);
  head->setVerticalSpacing(0);
  QLabel* time = Label("u1", "00:00");
  time->setFont(Larger(time->font(), 8));
  head->addWidget(time, 0, 0, 3, 1);
  head->addWidget(Label("u2", "Course:"), 0, 1);
  head->addWidget(Label("u3", "Prize: $"), 0, 2);
  head->addWidget(Label("u8", "Summ Betfair:"), 0, 3);
  head->addWidget(Label("u4", "Name:"), 1, 1, 1, 3);
  head->addWidget(Label("u5", "Count:"), 2, 1);
  head->addWidget(Label("u6", "Distance:"), 2, 2);
  head->addWidget(Label("u7", "Type:"), 2, 3);
  head->addWidget(Label("bfnumber"), 0, 4);
  labels_["bfnumber"]->hide();
  for (const char* name : {"u2", "u3", "u4", "u5", "u6", "u7", "u8"})
    labels_[name]->setMinimumWidth(20);  // a long caption is cut, never the grids
  head->setColumnStretch(3, 1);
  tvbutton_ = MakeButton("tvbutton", QString());
  tvbutton_->setIcon(TvIcon());
  tvbutton_->setToolTip("TV Translation");
  tvbutton_->setFixedSize(30, 26);
  bfbutton_ = MakeButton("bfbutton", QString());
  bfbutton_->setIcon(ExchangeIcon());
  bfbutton_->setToolTip("Go to Betfair");
  bfbutton_->setFixedSize(30, 26);
  connect(tvbutton_, &QPushButton::clicked, this,
          [this] { Run([](Session& s) { s.OpenVideo(); }); });
  connect(bfbutton_, &QPushButton::clicked, this,
          [this] { Run([](Session& s) { s.OpenMarket(); }); });
  head->addWidget(tvbutton_, 0, 5, 2, 1, Qt::AlignTop);
  head->addWidget(bfbutton_, 0, 6, 2, 1, Qt::AlignTop);
  right->addLayout(head);

  QTableView* tab = Grid("TAB", false);
  // The widest grid of the window: a size smaller, so every shown column fits beside MM.
  tab->setFont(Larger(tab->font(), -1, false));
  tab->horizontalHeader()->setFont(tab->font());
  tab->setIconSize(QSize(16, 16));
  auto* tabModel = grids_["TAB"];
  tabModel->SetPictures(tab::kTrainer, PersonPictures());
  tabModel->SetPictures(tab::kJockey, PersonPictures());
  tabModel->SetPictures(tab::kTips, PlacePictures());
  tabModel->SetPictures(tab::kPro, PersonPictures());
  right->addWidget(tab, 1);
  connect(tab, &QTableView::doubleClicked, this,
          [this](const QModelIndex& i) { OnCellDblClick("TAB", i.row()); });
  top->addLayout(right, 1);
  split->addWidget(upper);

  // R and, on a second tab, the chart of its components.
  auto* lower = new QWidget;
  auto* bottom = new QHBoxLayout(lower);
  bottom->setContentsMargins(0, 0, 0, 0);
  auto* summa = new QTabWidget;
  summa->setObjectName("summaTabs");
  summa->setTabPosition(QTabWidget::South);
  summa->setDocumentMode(true);
  summa->addTab(Grid("R", false), "Summa");
  summaChart_ = new SummaChart;
  summa->addTab(summaChart_, "Chart");
  bottom->addWidget(summa, 1);
  auto* recoming = new QGroupBox("Recoming");
  recoming->setObjectName("RecomingBox");
  auto* rl = new QVBoxLayout(recoming);
  rl->setContentsMargins(4, 4, 4, 4);
  rl->addWidget(Grid("RR", false));
  recoming->setFixedWidth(190);
  bottom->addWidget(recoming);
  split->addWidget(lower);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  return page;
}

void MainWindow::BuildProgressPanel() {
  progress_ = new ProgressPanel(this);
  connect(progress_, &ProgressPanel::cancelRequested, ports_, &GuiPorts::RequestCancel);
  connect(ports_, &GuiPorts::panelShown, progress_, &ProgressPanel::Request);
  connect(ports_, &GuiPorts::gaugeSet, progress_, &ProgressPanel::SetGauge);
  connect(ports_, &GuiPorts::gaugeShown, progress_, &ProgressPanel::ShowGauge);
}

void MainWindow::BuildTray() {
  tray_ = new TrayIcon(this);
  connect(tray_, &TrayIcon::restoreRequested, this, [this] {
    showNormal();
    activateWindow();
  });
}

// ---------------------------------------------------------------------------------------------
// Commands

int MainWindow::Run(std::function<void(Session&)> command) {
  if (runner_->busy()) return 0;
  ports_->ResetCancel();
  return runner_->Post(std::move(command));
}

// Every grid event of the system goes by row; the column of the click does not matter.
void MainWindow::OnCellDblClick(const char* grid, int row) {
  const std::string g = grid;
  if (g == "MM")
    Run([row](Session& s) { s.AnalyseLive(row); });
  else if (g == "TAB")
    Run([row](Session& s) { s.AddToReport(row); });
}

// ---------------------------------------------------------------------------------------------
// Showing a snapshot

void MainWindow::ShowTables(const WorkspaceView& ws) {
  today_->Show(ws);
  scalpOdds_->Show(ws);
  indicator_->Show(ws);
  zorvat_->Show(ws);
  tips_->Show(ws);
  for (const auto& [name, table] : ws.Tables()) {
    const auto g = grids_.find(name);
    if (g != grids_.end()) g->second->SetTable(*table);
  }
  for (const auto& [name, text] : ws.Labels()) {
    const auto l = labels_.find(name);
    if (l == labels_.end()) continue;
    l->second->setText(Display(text));
    if (name.size() == 2 && name[0] == 'u') l->second->setToolTip(l->second->text());
  }
  if (!(summaChart_->shownTable() == ws.R)) summaChart_->SetTable(ws.R);
}

void MainWindow::ShowStep(const std::shared_ptr<const Snapshot>& snapshot) {
  ShowTables(snapshot->ws);
  emit stepShown(snapshot->command);
}

void MainWindow::Show(const std::shared_ptr<const Snapshot>& snapshot) {
  const ViewState& view = snapshot->view;
  ShowTables(snapshot->ws);
  for (int p = 0; p < kPageCount; ++p) page_->setTabVisible(p, view.tabVisible[p]);
  // Only a command that brings a page to the front moves the user away from theirs.
  if (view.pageRequests != pageRequestsShown_) page_->setCurrentIndex(view.activePage);
  pageRequestsShown_ = view.pageRequests;

  if (snapshot->command != 0 && snapshot->command == startCommand_) {
    loginedit_->setText(Display(login_.empty() ? view.login : login_));
    passedit_->setText(Display(password_.empty() ? view.password : password_));
    zap_->setChecked(view.rememberMe);
    datas_->setText(Display(view.resultsDate));
  }
  loginedit_->setEnabled(view.signInEnabled);
  passedit_->setEnabled(view.signInEnabled);
  zap_->setEnabled(view.signInEnabled);

  if (view.vizVisible && snapshot->command == resultsCommand_) {
    viz_->show();
    viz_->raise();
    vizTimer_->start(kVizMilliseconds);
  }
  ApplyEnabled();
  emit commandFinished(snapshot->command);
  if (snapshot->closeRequested) close();
}

void MainWindow::ApplyEnabled() {
  const bool idle = !runner_->busy();
  const ViewState& view = runner_->last()->view;
  for (const auto& [name, button] : commandButtons_) button->setEnabled(idle);
  commandButtons_["spSkinXFormButton1"]->setEnabled(idle && view.signInEnabled);
  tvbutton_->setEnabled(idle && view.tvbuttonEnabled);
  bfbutton_->setEnabled(idle && view.bfbuttonEnabled);
  for (QAction* a : repMenu_->actions()) a->setEnabled(idle);
}

void MainWindow::OnBusy(bool busy) {
  progress_->SetBusy(busy);
  ApplyEnabled();
}

// ---------------------------------------------------------------------------------------------
// Window events

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
