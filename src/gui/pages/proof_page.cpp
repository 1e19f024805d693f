#include "gui/pages/proof_page.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <optional>

#include "gui/chart_style.h"
#include "gui/display_text.h"
#include "gui/pages/page_parts.h"
#include "proof/significance.h"
#include "proof/staking.h"

namespace trotix::gui {
namespace {

// One colour per method, by its place in the ledger's list of methods.
constexpr QRgb kColours[] = {0x1565c0, 0xc62828, 0x2e7d32, 0xef6c00,
                             0x6a1b9a, 0x00838f, 0x5d4037, 0x9e9d24};

QColor MethodColour(const ProofReport& report, const std::string& method) {
  const auto at = std::find(report.methods.begin(), report.methods.end(), method);
  return QColor(kColours[(at - report.methods.begin()) % std::size(kColours)]);
}

QIcon Swatch(const QColor& colour, bool dashed) {
  QPixmap square(12, 12);
  square.fill(Qt::transparent);
  QPainter p(&square);
  // A back-test's swatch in its curve's lighter tone, edged with dashes.
  p.fillRect(1, 1, 10, 10, dashed ? colour.lighter(160) : colour);
  p.setPen(QPen(colour.darker(130), 1, dashed ? Qt::DashLine : Qt::SolidLine));
  p.drawRect(1, 1, 9, 9);
  return QIcon(square);
}

QString SourceText(long long runId) {
  return runId == 0 ? QString("live") : QString("back-test %1").arg(runId);
}

// The run beside the live picks, when a Cancel ended it early.
const BacktestRunInfo* CancelledRun(const ProofReport& r) {
  for (const BacktestRunInfo& run : r.runs)
    if (run.id == r.query.runId && run.cancelled) return &run;
  return nullptr;
}

// A row's source; beside a cancelled run both sides say which days they cover.
QString RowSourceText(const ProofReport& r, long long runId) {
  const BacktestRunInfo* cancelled = CancelledRun(r);
  if (!cancelled) return SourceText(runId);
  if (runId == 0)
    return cancelled->days == 1 ? QObject::tr("live, the same 1 day")
                                : QObject::tr("live, the same %1 days").arg(cancelled->days);
  return QObject::tr("back-test %1, cancelled: %2 of %3 days")
      .arg(runId)
      .arg(cancelled->days)
      .arg(cancelled->daysAsked);
}

QString Text(const std::string& s) {
  return QString::fromStdString(s);
}

QDate ToQDate(const Date& d) {
  return QDate(d.year, d.month, d.day);
}

Date FromQDate(const QDate& d) {
  return {d.year(), d.month(), d.day()};
}

// The grids of the page: a click selects a row, Enter does what a double-click does, Tab
// leaves, as on every grid of the window.
class FiguresTable : public QTableWidget {
 public:
  FiguresTable(const char* name, const QStringList& captions, const QStringList& hints) {
    setObjectName(name);
    setColumnCount(static_cast<int>(captions.size()));
    setHorizontalHeaderLabels(captions);
    for (int c = 0; c < hints.size() && c < captions.size(); ++c)
      if (!hints[c].isEmpty()) horizontalHeaderItem(c)->setToolTip(hints[c]);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setWordWrap(false);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(20);
    horizontalHeader()->setHighlightSections(false);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && currentIndex().isValid()) {
      emit cellDoubleClicked(currentRow(), currentColumn());
      event->accept();
      return;
    }
    QTableWidget::keyPressEvent(event);
  }
};

// Appends a row of texts; the columns from `firstNumber` on are figures, set to the right.
int AddRow(QTableWidget* table, const QStringList& texts, int firstNumber) {
  const int row = table->rowCount();
  table->insertRow(row);
  for (int c = 0; c < texts.size(); ++c) {
    auto* item = new QTableWidgetItem(texts[c]);
    if (c >= firstNumber) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table->setItem(row, c, item);
  }
  return row;
}

enum MethodColumn {
  kSource,
  kMethod,
  kBets,
  kWon,
  kStrike,
  kInterval,
  kProfitSP,
  kRoiSP,
  kPriced,
  kProfitKf,
  kRoiKf,
  kAE,
  kPlaced,
  kVoid,
  kLosingRun,
  kDrawdown,
  kLuck,
  kArchieP,
  kExpectedRun,
  kDrawdownRuns,
  kProfitSPWithoutTop,
  kTopShare,
};

const QStringList kMethodCaptions = {
    "Source",         "Method", "Bets",     "Won",          "Strike",
    "95 % interval",  "P/L SP", "ROI SP",   "Priced",       "P/L Kf",
    "ROI Kf",         "A/E",    "Placed",   "Void",         "Losing run",
    "Drawdown",       "Luck",   "Archie p", "Expected run", "Drawdown in runs",
    "P/L SP w/o top", "Top 1 %"};

QStringList MethodHints(double commission) {
  return {
      "The live picks, or a back-test run",
      "The system the pick was added under",
      "Settled picks; void ones are counted apart",
      "Winners",
      "Winners out of the bets",
      "Where the true strike rate lies, with 95 % confidence (Wilson score interval)",
      "Profit at 1 point a bet to starting price: a winner pays SP - 1, a loser -1",
      "Profit to SP per point staked",
      "Bets that had an exchange price when picked",
      QString("Profit at 1 point a bet at the price when picked, after %1 % commission on net "
              "winnings")
          .arg(Text(FixedText(commission * 100, 1))),
      "Profit at the price when picked per point staked",
      "A/E against prices when picked: actual winners of the priced picks against those their "
      "prices expect (1 / price each); above 1 beats the market",
      "Bets that finished in the first three",
      "Void picks (non-runners, races not run), left out of every figure",
      "The longest run of losers in a row",
      "The deepest fall of the level-stakes bank to SP from its highest point",
      "Luck: exact, against prices when picked. How often luck alone, each priced pick winning "
      "as often as its price says, makes at least this profit at the prices taken: the rarer, "
      "the less it looks like luck",
      "Archie against prices when picked: the chance of winners this far from those the prices "
      "expect by luck alone (chi-square, 1 degree of freedom); \"(few)\" when fewer than 5 "
      "winners were expected, too few to trust it",
      "The longest losing run to expect at this strike rate over this many bets, beside the "
      "actual one",
      "The deepest drawdown in units of the expected longest losing run: near 1 is what the "
      "strike rate alone brings",
      "Profit to SP without the biggest winner: what the profit rests on one result",
      "The share of the profit to SP made by the top 1 % of winners (at least one)",
  };
}

QString ArchieText(const proof::MethodFigures& f) {
  if (f.pricedBets == 0) return QString::fromUtf8("—");
  QString text = QString::fromStdString(FixedText(f.archieP, 3));
  if (f.expectedWinners < proof::kArchieFewestExpected) text += " (few)";
  return text;
}

// Staking choices in the order of the staking box.
constexpr proof::Staking kStakings[] = {proof::Staking::kLevel, proof::Staking::kPercent,
                                        proof::Staking::kToWin};

const std::vector<double>& CurveOf(const proof::MethodFigures& f, proof::Staking staking) {
  switch (staking) {
    case proof::Staking::kPercent:
      return f.curvePercent;
    case proof::Staking::kToWin:
      return f.curveToWin;
    case proof::Staking::kLevel:
      break;
  }
  return f.curve;
}

}  // namespace

ProofPage::ProofPage(QWidget* parent) : QWidget(parent) {
  setObjectName("proofPage");
  auto* l = PageColumn(this);

  auto* filters = new QHBoxLayout;
  filters->setSpacing(6);
  const auto dateEdit = [](const char* name) {
    auto* edit = new QDateEdit(QDate::currentDate());
    edit->setObjectName(name);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat("dd.MM.yyyy");
    return edit;
  };
  from_ = dateEdit("proofFromEdit");
  to_ = dateEdit("proofToEdit");
  method_ = new QComboBox;
  method_->setObjectName("proofMethodBox");
  method_->addItem("All methods");
  course_ = new QComboBox;
  course_->setObjectName("proofCourseBox");
  course_->addItem("All courses");
  course_->setMinimumContentsLength(8);
  filters->addWidget(new QLabel("From"));
  filters->addWidget(from_);
  filters->addWidget(new QLabel("to"));
  filters->addWidget(to_);
  filters->addSpacing(8);
  filters->addWidget(method_);
  filters->addWidget(course_);
  // The figures' breakdown and staking share the filters' row: the row beneath keeps room for
  // the run's name and the record.
  breakdown_ = new QComboBox;
  breakdown_->setObjectName("proofBreakdownBox");
  breakdown_->setToolTip("The figures again, split by one trait of the picks (the Breakdown tab)");
  breakdown_->addItem("No breakdown", QString());
  const std::pair<proof::Breakdown, const char*> breakdowns[] = {
      {proof::Breakdown::kBand, "By price when picked"},
      {proof::Breakdown::kCourse, "By course"},
      {proof::Breakdown::kMonth, "By month"},
      {proof::Breakdown::kClass, "By race class"},
      {proof::Breakdown::kRunners, "By field size"}};
  for (const auto& [by, caption] : breakdowns)
    breakdown_->addItem(caption, QString(proof::BreakdownName(by)));
  filters->addWidget(breakdown_);
  staking_ = new QComboBox;
  staking_->setObjectName("proofStakingBox");
  staking_->setToolTip("The stakes the bank curve is drawn for, every bet settled to SP");
  staking_->addItem("Level stakes: 1 point", QString(proof::StakingName(kStakings[0])));
  staking_->addItem("2 % of a 100-point bank", QString(proof::StakingName(kStakings[1])));
  staking_->addItem("To win 1 point", QString(proof::StakingName(kStakings[2])));
  filters->addWidget(staking_);
  filters->addStretch(1);
  l->addLayout(filters);

  auto* runs = new QHBoxLayout;
  runs->setSpacing(6);
  run_ = new QComboBox;
  run_->setObjectName("proofRunBox");
  run_->addItem("The newest back-test", kLatestRun);
  run_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  runs->addWidget(new QLabel("Beside the live picks:"));
  runs->addWidget(run_);
  backtest_ = MakeButton("backtestButton", "Back-test");
  backtest_->setToolTip(
      "Replay every stored day of the range from the archive, run Best Rank and Best Recoming "
      "on it and settle the picks from the results stored; nothing goes to the network");
  runs->addWidget(backtest_);
  runs->addStretch(1);
  record_ = MakeElidedLabel("proofRecord");
  record_->setTextFormat(Qt::PlainText);
  record_->setToolTip(
      "Every pick made, withdrawn and settled is an event hashed over the one before it: a "
      "record changed after the fact no longer matches its hashes");
  runs->addWidget(record_);
  exportRecord_ = MakeButton("exportRecordButton", "Export");
  exportRecord_->setToolTip(
      "Write the record as trotix-record.jsonl in the data folder, one event a line, for anyone "
      "to check");
  runs->addWidget(exportRecord_);
  digest_ = MakeButton("digestButton", "Digest");
  digest_->setToolTip(
      "The hash of the record before today's first race: publish it before racing, and anyone "
      "given the export later can see the picks were made before the off");
  runs->addWidget(digest_);
  l->addLayout(runs);

  auto* split = new QSplitter(Qt::Vertical);
  split->setObjectName("proofSplitter");
  split->setChildrenCollapsible(false);
  auto* top = new QWidget;
  auto* tl = new QVBoxLayout(top);
  tl->setContentsMargins(0, 0, 0, 0);
  tl->setSpacing(2);
  methods_ = new FiguresTable("proofMethods", kMethodCaptions, MethodHints(commission_));
  tl->addWidget(methods_, 1);
  auto* basis = MakeLabel("proofBasis",
                          "A/E, Archie and luck are taken against the prices when picked, over "
                          "the picks that had one (luck: exact); P/L SP, runs and drawdown over "
                          "every settled pick, to starting price.");
  basis->setWordWrap(true);
  tl->addWidget(basis);
  summary_ = MakeLabel("proofSummary");
  summary_->setWordWrap(true);
  summary_->setTextFormat(Qt::PlainText);
  tl->addWidget(summary_);
  split->addWidget(top);

  views_ = new QTabWidget;
  views_->setObjectName("proofViews");
  chart_ = new QChartView;
  chart_->setObjectName("proofChart");
  chart_->setRenderHint(QPainter::Antialiasing);
  chart_->setChart(NewPlainChart(QMargins(2, 2, 4, 2), font()));
  // Each legend entry a sample of its line: a back-test's dashes show there too.
  chart_->chart()->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
  views_->addTab(chart_, "Bank curve");

  auto* list = new QWidget;
  auto* ll = new QVBoxLayout(list);
  ll->setContentsMargins(4, 4, 4, 4);
  auto* listBar = new QHBoxLayout;
  picksCaption_ = MakeLabel("proofPicksCaption", "Double-click a method to list its picks");
  picksCaption_->setTextFormat(Qt::PlainText);
  listBar->addWidget(picksCaption_, 1);
  export_ = MakeButton("exportProofPicksButton", "Export CSV");
  export_->setToolTip("Write this list as CSV in the data folder");
  export_->setEnabled(false);
  listBar->addWidget(export_);
  ll->addLayout(listBar);
  picks_ = new FiguresTable(
      "proofPicks",
      {"Date", "Time", "Course", "Runner", "Price", "Result", "SP", "Profit", "Total"},
      {"", "", "", "", "The exchange price when picked", "", "Starting price",
       "At 1 point to SP; a void pick is 0", "The running total"});
  ll->addWidget(picks_, 1);
  views_->addTab(list, "Picks");
  groups_ = new FiguresTable(
      "proofGroups",
      {"Group", "Source", "Method", "Bets", "Won", "Strike", "P/L SP", "ROI SP", "Priced", "P/L Kf",
       "ROI Kf", "A/E", "Archie p", "Luck"},
      {"The breakdown's group: price when picked, course, month, race class or field size (from "
       "the day's stored card)",
       "", "", "Settled picks", "", "", "At 1 point a bet to SP", "", "Picks with a price",
       "At the price when picked, after commission", "", "A/E against prices when picked",
       "Archie against prices when picked", "Luck: exact, against prices when picked"});
  views_->addTab(groups_, "Breakdown");
  split->addWidget(views_);
  split->setStretchFactor(0, 2);
  split->setStretchFactor(1, 3);
  l->addWidget(split, 1);

  const auto changed = [this] {
    if (!filling_) Refresh();
  };
  for (QDateEdit* edit : {from_, to_})
    connect(edit, &QDateEdit::dateChanged, this, [this, changed] {
      if (!filling_) datesChosen_ = true;
      changed();
    });
  for (QComboBox* box : {method_, course_, run_, breakdown_})
    connect(box, &QComboBox::currentIndexChanged, this, changed);
  connect(breakdown_, &QComboBox::currentIndexChanged, this, [this](int at) {
    if (at > 0) views_->setCurrentWidget(groups_);
  });
  connect(staking_, &QComboBox::currentIndexChanged, this, [this] {
    if (report_) ShowCurves(*report_);
  });
  connect(backtest_, &QPushButton::clicked, this,
          [this] { emit backtestRequested(FromQDate(from_->date()), FromQDate(to_->date())); });
  connect(methods_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    ShowPicks(rows_[row].first, rows_[row].second);
    views_->setCurrentIndex(1);
  });
  connect(methods_, &QTableWidget::currentCellChanged, this, [this](int row) {
    ShowSummary(row);
    // The drawdown shaded is the selected method's.
    if (report_ && !filling_) ShowCurves(*report_);
  });
  connect(export_, &QPushButton::clicked, this, [this] {
    if (!picksMethod_.empty()) emit exportRequested(picksRun_, picksMethod_);
  });
  connect(exportRecord_, &QPushButton::clicked, this, [this] { emit recordExportRequested(); });
  connect(digest_, &QPushButton::clicked, this, [this] { emit digestRequested(); });
}

ProofQuery ProofPage::Query() const {
  ProofQuery q;
  if (datesChosen_) {
    q.from = FromQDate(from_->date());
    q.to = FromQDate(to_->date());
  }
  if (method_->currentIndex() > 0) q.method = method_->currentData().toByteArray().toStdString();
  if (course_->currentIndex() > 0) q.course = course_->currentData().toByteArray().toStdString();
  q.runId = run_->currentData().toLongLong();
  q.commission = commission_;
  q.by = proof::BreakdownOfName(breakdown_->currentData().toString().toStdString());
  return q;
}

void ProofPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The ledger may have changed since (a settle, a best-of run, another program). Asked once
  // the event that showed the page is over: a page passed on the way to another asks nothing.
  if (event->spontaneous() || showQueued_) return;
  showQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    showQueued_ = false;
    if (isVisible()) Refresh();
  });
}

void ProofPage::Refresh() {
  if (!idle_) {
    wanted_ = true;
    return;
  }
  wanted_ = false;
  emit figuresRequested(Query());
}

void ProofPage::SetIdle(bool idle) {
  idle_ = idle;
  backtest_->setEnabled(idle);
  exportRecord_->setEnabled(idle);
  digest_->setEnabled(idle);
  export_->setEnabled(idle && !picksMethod_.empty());
  if (idle && wanted_) Refresh();
}

void ProofPage::SetCommission(double commission) {
  if (commission == commission_) return;
  commission_ = commission;
  const QStringList hints = MethodHints(commission_);
  for (int c = 0; c < methods_->columnCount(); ++c)
    methods_->horizontalHeaderItem(c)->setToolTip(hints[c]);
  if (report_ && isVisible()) Refresh();
}

void ProofPage::ShowReport(const std::shared_ptr<const ProofReport>& report) {
  if (!report || report == report_) return;
  record_->setText(QString::fromStdString(report->record));
  report_ = report;
  ShowFilters(*report);
  filling_ = true;  // the rows selected while filling draw no curves of their own
  ShowMethods(*report);
  filling_ = false;
  ShowGroups(*report);
  ShowCurves(*report);
  if (!picksMethod_.empty()) ShowPicks(picksRun_, picksMethod_);
}

void ProofPage::ShowFilters(const ProofReport& r) {
  filling_ = true;
  if (!datesChosen_ && r.firstDay) {
    from_->setDate(ToQDate(*r.firstDay));
    to_->setDate(ToQDate(*r.lastDay));
  }
  const auto fill = [](QComboBox* box, const QString& all, const std::vector<std::string>& names,
                       const std::string& chosen) {
    box->clear();
    box->addItem(all);
    for (const std::string& n : names) box->addItem(Display(n), QByteArray::fromStdString(n));
    const int at = box->findData(QByteArray::fromStdString(chosen));
    box->setCurrentIndex(chosen.empty() || at < 0 ? 0 : at);
  };
  fill(method_, "All methods", r.methods, r.query.method);
  fill(course_, "All courses", r.courses, r.query.course);
  run_->clear();
  run_->addItem("No back-test", 0LL);
  for (const BacktestRunInfo& run : r.runs) {
    QString text = QString("Back-test %1: %2 – %3, %4 picks")
                       .arg(run.id)
                       .arg(Text(FormatDate(run.first)), Text(FormatDate(run.last)))
                       .arg(run.picks);
    if (run.cancelled) text += tr(", cancelled: %1 of %2 days").arg(run.days).arg(run.daysAsked);
    run_->addItem(text, run.id);
  }
  run_->setCurrentIndex(std::max(0, run_->findData(r.query.runId)));
  filling_ = false;
}

void ProofPage::ShowMethods(const ProofReport& r) {
  methods_->setRowCount(0);
  rows_.clear();
  for (const ProofSide& side : r.sides) {
    for (const proof::MethodFigures& f : side.methods) {
      const double placed = f.bets > 0 ? static_cast<double>(f.placed) / f.bets : 0;
      const int row = AddRow(methods_,
                             {RowSourceText(r, side.runId),
                              Display(f.method),
                              QString::number(f.bets),
                              QString::number(f.winners),
                              Text(PercentText(f.strikeRate)),
                              Text(PercentText(f.wilsonLow) + " – " + PercentText(f.wilsonHigh)),
                              Text(PointsText(f.profitSP)),
                              Text(PercentText(f.roiSP)),
                              QString::number(f.pricedBets),
                              Text(PointsText(f.profitPrice)),
                              Text(PercentText(f.roiPrice)),
                              Text(FixedText(f.aE)),
                              Text(PercentText(placed)),
                              QString::number(f.voids),
                              QString::number(f.longestLosingRun),
                              Text(FixedText(f.maxDrawdown)),
                              Text(LuckText(f.luckOneIn)),
                              ArchieText(f),
                              Text(FixedText(f.expectedLongestLosingRun, 1)),
                              Text(FixedText(f.drawdownInLosingRuns)),
                              Text(PointsText(f.profitSPWithoutTop)),
                              Text(PercentText(f.topShareOfProfit))},
                             kBets);
      methods_->item(row, kMethod)->setIcon(Swatch(MethodColour(r, f.method), side.runId != 0));
      rows_.emplace_back(side.runId, f.method);
    }
  }
  methods_->resizeColumnsToContents();
  if (methods_->rowCount() > 0) {
    methods_->selectRow(0);
    ShowSummary(0);
  } else {
    ShowSummary(-1);
  }
}

void ProofPage::ShowSummary(int row) {
  if (!report_ || row < 0 || row >= static_cast<int>(rows_.size())) {
    const bool any = report_ && !report_->methods.empty();
    summary_->setText(any ? "No settled picks match the filters."
                          : "No picks yet: \"Best Rank\", \"Best Recoming\" and a double-click on "
                            "a runner add them on \"Report\", and \"Settle\" settles them.");
    return;
  }
  const auto& [runId, method] = rows_[row];
  for (const ProofSide& side : report_->sides) {
    if (side.runId != runId) continue;
    for (const proof::MethodFigures& f : side.methods) {
      if (f.method != method) continue;
      QString text = QString(
                         "%1 (%2): %3 winners from %4 bets, %5. With 95 % confidence its true "
                         "strike rate lies between %6 and %7.")
                         .arg(Display(f.method), SourceText(runId))
                         .arg(f.winners)
                         .arg(f.bets)
                         .arg(Text(PercentText(f.strikeRate)), Text(PercentText(f.wilsonLow)),
                              Text(PercentText(f.wilsonHigh)));
      if (f.luckOneIn >= 1.05)
        text += QString(" Luck alone would make its profit at the prices taken %1 times.")
                    .arg(Text(LuckText(f.luckOneIn)));
      else if (f.luckOneIn > 0)
        text += " Luck alone would do as well at the prices taken almost every time.";
      if (side.pending > 0)
        text += QString(" %1 picks not yet settled are left out.").arg(side.pending);
      summary_->setText(text);
      return;
    }
  }
}

void ProofPage::ShowGroups(const ProofReport& r) {
  groups_->setRowCount(0);
  for (const ProofSide& side : r.sides) {
    for (const proof::GroupFigures& g : side.groups) {
      for (const proof::MethodFigures& f : g.methods) {
        const int row = AddRow(groups_,
                               {Display(g.group), SourceText(side.runId), Display(f.method),
                                QString::number(f.bets), QString::number(f.winners),
                                Text(PercentText(f.strikeRate)), Text(PointsText(f.profitSP)),
                                Text(PercentText(f.roiSP)), QString::number(f.pricedBets),
                                Text(PointsText(f.profitPrice)), Text(PercentText(f.roiPrice)),
                                Text(FixedText(f.aE)), ArchieText(f), Text(LuckText(f.luckOneIn))},
                               3);
        groups_->item(row, 2)->setIcon(Swatch(MethodColour(r, f.method), side.runId != 0));
      }
    }
  }
  groups_->resizeColumnsToContents();
}

void ProofPage::ShowCurves(const ProofReport& r) {
  QChart* chart = chart_->chart();
  chart->removeAllSeries();
  for (QAbstractAxis* axis : chart->axes()) {
    chart->removeAxis(axis);
    delete axis;
  }
  const proof::Staking staking = kStakings[std::max(0, staking_->currentIndex())];
  QFont small = font();
  small.setPixelSize(kChartFontPixels);
  auto* days = new QDateTimeAxis;
  days->setFormat("dd.MM.yy");
  days->setLabelsFont(small);
  days->setTitleText("day picked");
  days->setTitleFont(small);
  days->setTickCount(7);
  auto* points = new QValueAxis;
  points->setLabelFormat("%.0f");
  points->setLabelsFont(small);
  const char* stakes[] = {"level stakes of 1 point", "2 % of a 100-point bank",
                          "stakes to win 1 point"};
  points->setTitleText(QString("points to SP, %1").arg(stakes[static_cast<int>(staking)]));
  points->setTitleFont(small);
  chart->addAxis(days, Qt::AlignBottom);
  chart->addAxis(points, Qt::AlignLeft);

  // The selected row's drawdown is shaded: between the bank's high so far and the bank.
  const int selected = methods_->currentRow();
  const bool shade = selected >= 0 && selected < static_cast<int>(rows_.size());
  const auto dayStart = [](const Date& d) {
    return QDateTime(ToQDate(d), QTime(0, 0)).toMSecsSinceEpoch();
  };
  constexpr qint64 kDay = 24 * 3600 * 1000;
  double low = 0, high = 0;
  std::optional<qint64> first, last;
  for (const ProofSide& side : r.sides) {
    for (const proof::MethodFigures& f : side.methods) {
      const std::vector<double>& curve = CurveOf(f, staking);
      if (curve.size() != f.curveDates.size()) continue;
      QList<QPointF> line, peak;
      double top = 0;
      // A day's bets spread across it, in race order.
      for (std::size_t i = 0, j = 0; i < curve.size(); i = j) {
        while (j < curve.size() && f.curveDates[j] == f.curveDates[i]) ++j;
        const qint64 start = dayStart(f.curveDates[i]);
        if (line.isEmpty()) {
          line.append({static_cast<double>(start), 0});
          peak.append(line.back());
        }
        for (std::size_t k = i; k < j; ++k) {
          const double x = start + static_cast<double>(kDay) * (k - i + 1) / (j - i);
          line.append({x, curve[k]});
          top = std::max(top, curve[k]);
          peak.append({x, top});
          low = std::min(low, curve[k]);
          high = std::max(high, curve[k]);
        }
        first = std::min(first.value_or(start), start);
        last = std::max(last.value_or(start + kDay), start + kDay);
      }
      const QColor colour = MethodColour(r, f.method);
      const QString name = side.runId == 0
                               ? Display(f.method)
                               : Display(f.method) + " (" + RowSourceText(r, side.runId) + ")";
      if (shade && rows_[selected] == std::pair(side.runId, f.method) && !line.isEmpty()) {
        auto* upper = new QLineSeries;
        auto* lower = new QLineSeries;
        upper->replace(peak);
        lower->replace(line);
        auto* area = new QAreaSeries(upper, lower);
        upper->setParent(area);
        lower->setParent(area);
        area->setName(name + ", drawdown");
        QColor fill = colour;
        fill.setAlpha(60);
        area->setBrush(fill);
        area->setPen(Qt::NoPen);
        chart->addSeries(area);
        area->attachAxis(days);
        area->attachAxis(points);
      }
      auto* series = new QLineSeries;
      series->setName(name);
      series->replace(line);
      QPen pen(colour);
      pen.setWidthF(1.6);
      if (side.runId != 0) {
        // Drawn over the live line of its method, in a lighter tone with long gaps, so both show
        // where they coincide; its legend sample is dashed too.
        pen.setColor(colour.lighter(160));
        pen.setWidthF(2.4);
        pen.setDashPattern({4, 3});
      }
      series->setPen(pen);
      chart->addSeries(series);
      series->attachAxis(days);
      series->attachAxis(points);
    }
  }
  // A week before there is a curve; round numbers on the points.
  const qint64 today = QDateTime(QDate::currentDate(), QTime(0, 0)).toMSecsSinceEpoch();
  days->setRange(QDateTime::fromMSecsSinceEpoch(first.value_or(today - 7 * kDay)),
                 QDateTime::fromMSecsSinceEpoch(last.value_or(today)));
  const double margin = std::max(5.0, (high - low) * 0.05);
  points->setRange(low - margin, high + margin);
  points->applyNiceNumbers();
}

void ProofPage::ShowPicks(long long runId, const std::string& method) {
  picks_->setRowCount(0);
  picksRun_ = runId;
  picksMethod_.clear();
  const ProofSide* side = nullptr;
  if (report_)
    for (const ProofSide& s : report_->sides)
      if (s.runId == runId) side = &s;
  const auto lines = side ? PickLines(side->bets, method) : std::vector<PickLine>();
  if (lines.empty()) {
    picksCaption_->setText("Double-click a method to list its picks");
    export_->setEnabled(false);
    return;
  }
  picksMethod_ = method;
  const auto number = [](const std::optional<double>& v) {
    return v ? Text(FixedText(*v)) : QString::fromUtf8("—");
  };
  int settled = 0, pending = 0;
  for (const PickLine& line : lines) {
    const proof::Bet& b = line.bet;
    const int row = AddRow(
        picks_,
        {Text(FormatDate(b.date)), Display(b.time), Display(b.course), Display(b.runner),
         number(b.price), proof::ResultName(b.result), number(b.sp),
         line.profit ? Text(PointsText(*line.profit)) : QString(), Text(PointsText(line.total))},
        4);
    picks_->item(row, 5)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (b.result == proof::Result::kWon)
      for (int c = 0; c < picks_->columnCount(); ++c)
        picks_->item(row, c)->setBackground(QColor(0xe3f4e1));
    settled += b.result == proof::Result::kWon || b.result == proof::Result::kPlaced ||
               b.result == proof::Result::kUnplaced;
    pending += b.result == proof::Result::kPending;
  }
  picks_->resizeColumnsToContents();
  picks_->scrollToBottom();
  QString caption = QString("%1, %2: %3 settled picks, %4 points at SP")
                        .arg(Display(method), SourceText(runId))
                        .arg(settled)
                        .arg(Text(PointsText(lines.back().total)));
  if (pending > 0) caption += QString(", %1 pending").arg(pending);
  picksCaption_->setText(caption);
  export_->setEnabled(idle_);
}

}  // namespace trotix::gui
