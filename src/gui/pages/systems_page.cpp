#include "gui/pages/systems_page.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "app/proof_figures.h"
#include "gui/display_text.h"
#include "gui/pages/page_parts.h"
#include "text/strings.h"

namespace trotix::gui {
namespace {

// How long the page waits after a change before it asks for figures: typing a number is one
// request, not one per key.
constexpr int kRefreshMs = 150;

QStringList SplitList(const QString& text) {
  QStringList out;
  for (const QString& item : text.split(',', Qt::SkipEmptyParts))
    if (!item.trimmed().isEmpty()) out << item.trimmed();
  return out;
}

std::vector<std::string> Strings(const QStringList& list) {
  std::vector<std::string> out;
  for (const QString& s : list) out.push_back(s.toStdString());
  return out;
}

QString Joined(const std::vector<std::string>& list) {
  QStringList out;
  for (const std::string& s : list) out << QString::fromStdString(s);
  return out.join(", ");
}

QDoubleSpinBox* Number(const char* name, double low, double high, double step, int decimals) {
  auto* box = new QDoubleSpinBox;
  box->setObjectName(name);
  box->setRange(low, high);
  box->setSingleStep(step);
  box->setDecimals(decimals);
  box->setSpecialValueText(low == 0 ? "—" : QString());  // 0 is no limit
  return box;
}

std::optional<Date> DateOf(const QLineEdit* edit) {
  return ParseDate(edit->text().trimmed().toStdString());
}

// One figure of the three sides.
struct FigureRow {
  const char* caption;
  std::function<QString(const systems::TestFigures&)> text;
};

const std::vector<FigureRow>& FigureRows() {
  const auto q = [](const std::string& s) { return QString::fromStdString(s); };
  static const std::vector<FigureRow> rows = {
      {"Bets", [](const auto& t) { return QString::number(t.figures.bets); }},
      {"Won", [](const auto& t) { return QString::number(t.figures.winners); }},
      {"Strike", [q](const auto& t) { return q(PercentText(t.figures.strikeRate)); }},
      {"95 % interval",
       [q](const auto& t) {
         return q(PercentText(t.figures.wilsonLow) + " - " + PercentText(t.figures.wilsonHigh));
       }},
      {"P/L SP", [q](const auto& t) { return q(PointsText(t.figures.profitSP)); }},
      {"ROI SP", [q](const auto& t) { return q(PercentText(t.figures.roiSP)); }},
      {"Priced", [](const auto& t) { return QString::number(t.figures.pricedBets); }},
      {"P/L Kf", [q](const auto& t) { return q(PointsText(t.figures.profitPrice)); }},
      {"ROI Kf", [q](const auto& t) { return q(PercentText(t.figures.roiPrice)); }},
      {"A/E", [q](const auto& t) { return q(FixedText(t.figures.aE)); }},
      {"Losing run", [](const auto& t) { return QString::number(t.figures.longestLosingRun); }},
      {"Drawdown", [q](const auto& t) { return q(FixedText(t.figures.maxDrawdown)); }},
      {"Luck", [q](const auto& t) { return q(LuckText(t.figures.luckOneIn)); }},
      {"Void", [](const auto& t) { return QString::number(t.figures.voids); }},
      {"Not settled", [](const auto& t) { return QString::number(t.pending); }},
  };
  return rows;
}

}  // namespace

SystemsPage::SystemsPage(QWidget* parent) : QWidget(parent) {
  setObjectName("systemsPage");
  auto* l = new QHBoxLayout(this);
  l->setContentsMargins(6, 6, 6, 6);

  // The system: which, its name, and what it is made of.
  auto* left = new QVBoxLayout;
  auto* which = new QHBoxLayout;
  saved_ = new QComboBox;
  saved_->setObjectName("systemsSavedBox");
  saved_->setToolTip(tr("A saved system to edit; each version keeps its own live record"));
  which->addWidget(new QLabel(tr("System")));
  which->addWidget(saved_, 1);
  left->addLayout(which);
  auto* named = new QHBoxLayout;
  name_ = new QLineEdit;
  name_->setObjectName("systemNameEdit");
  name_->setPlaceholderText(tr("Name"));
  save_ = MakeButton("saveSystemButton", tr("Save"));
  save_->setToolTip(
      tr("Keep the system under this name; changed after it has live picks, it is saved as the "
         "next version"));
  rename_ = MakeButton("renameSystemButton", tr("Rename"));
  rename_->setToolTip(tr("Give the chosen system this name (only while it has no live picks)"));
  delete_ = MakeButton("deleteSystemButton", tr("Delete"));
  delete_->setToolTip(tr("Delete the chosen system; its live picks stay in the record"));
  named->addWidget(new QLabel(tr("Name")));
  named->addWidget(name_, 1);
  left->addLayout(named);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(save_);
  buttons->addWidget(rename_);
  buttons->addWidget(delete_);
  left->addLayout(buttons);

  auto* weights = new QGroupBox(tr("Weights"));
  auto* wl = new QGridLayout(weights);
  wl->setContentsMargins(6, 4, 6, 4);
  wl->setVerticalSpacing(2);
  for (int i = 0; i < kPartCount; ++i) {
    weights_[i] = Number("", -10, 10, 0.5, 2);
    weights_[i]->setObjectName(QString("weight_%1").arg(systems::kPartKeys[i]));
    weights_[i]->setSpecialValueText({});
    weights_[i]->setValue(1);
    wl->addWidget(new QLabel(systems::kPartCaptions[i]), i / 2, (i % 2) * 2);
    wl->addWidget(weights_[i], i / 2, (i % 2) * 2 + 1);
  }
  left->addWidget(weights);

  auto* race = new QGroupBox(tr("Race"));
  auto* rl = new QFormLayout(race);
  rl->setContentsMargins(6, 4, 6, 4);
  rl->setVerticalSpacing(2);
  courses_ = new QLineEdit;
  courses_->setObjectName("systemCoursesEdit");
  courses_->setPlaceholderText(tr("every course; or Ascot, Kempton"));
  classes_ = new QLineEdit;
  classes_->setObjectName("systemClassesEdit");
  classes_->setPlaceholderText(tr("every class; or Class 2, Class 3"));
  rl->addRow(tr("Courses"), courses_);
  rl->addRow(tr("Classes"), classes_);
  runnersMin_ = new QSpinBox;
  runnersMin_->setObjectName("systemRunnersMinBox");
  runnersMax_ = new QSpinBox;
  runnersMax_->setObjectName("systemRunnersMaxBox");
  for (QSpinBox* b : {runnersMin_, runnersMax_}) {
    b->setRange(0, 40);
    b->setSpecialValueText("—");
  }
  auto* runners = new QHBoxLayout;
  runners->addWidget(runnersMin_);
  runners->addWidget(new QLabel(tr("to")));
  runners->addWidget(runnersMax_);
  rl->addRow(tr("Runners"), runners);
  timeFrom_ = new QLineEdit;
  timeFrom_->setObjectName("systemTimeFromEdit");
  timeTo_ = new QLineEdit;
  timeTo_->setObjectName("systemTimeToEdit");
  auto* times = new QHBoxLayout;
  for (QLineEdit* e : {timeFrom_, timeTo_}) e->setPlaceholderText("hh:mm");
  times->addWidget(timeFrom_);
  times->addWidget(new QLabel(tr("to")));
  times->addWidget(timeTo_);
  rl->addRow(tr("Off"), times);
  left->addWidget(race);

  auto* runner = new QGroupBox(tr("Runner and selection"));
  auto* ul = new QFormLayout(runner);
  ul->setContentsMargins(6, 4, 6, 4);
  ul->setVerticalSpacing(2);
  priceMin_ = Number("systemPriceMinBox", 0, 1000, 0.5, 2);
  priceMax_ = Number("systemPriceMaxBox", 0, 1000, 0.5, 2);
  auto* prices = new QHBoxLayout;
  prices->addWidget(priceMin_);
  prices->addWidget(new QLabel(tr("to")));
  prices->addWidget(priceMax_);
  ul->addRow(tr("Price when picked"), prices);
  select_ = new QComboBox;
  select_->setObjectName("systemSelectBox");
  select_->addItem(tr("Top"), static_cast<int>(systems::Select::kTop));
  select_->addItem(tr("Sum at least"), static_cast<int>(systems::Select::kAtLeast));
  select_->addItem(tr("Leader by at least"), static_cast<int>(systems::Select::kLeadBy));
  selectValue_ = Number("systemSelectValueBox", -10000, 10000, 1, 1);
  selectValue_->setValue(1);
  auto* selection = new QHBoxLayout;
  selection->addWidget(select_);
  selection->addWidget(selectValue_);
  ul->addRow(tr("Select"), selection);
  left->addWidget(runner);
  left->addStretch(1);
  auto* leftBox = new QWidget;
  leftBox->setLayout(left);
  leftBox->setFixedWidth(330);
  l->addWidget(leftBox);

  // Its figures over the stored runners.
  auto* right = new QVBoxLayout;
  auto* range = new QHBoxLayout;
  from_ = new QLineEdit;
  from_->setObjectName("systemFromEdit");
  to_ = new QLineEdit;
  to_->setObjectName("systemToEdit");
  split_ = new QLineEdit;
  split_->setObjectName("systemSplitEdit");
  split_->setToolTip(
      tr("The figures before this day (in-sample) beside those from it on (out-of-sample)"));
  for (QLineEdit* e : {from_, to_, split_}) e->setPlaceholderText("dd.mm.yyyy");
  range->addWidget(new QLabel(tr("From")));
  range->addWidget(from_);
  range->addWidget(new QLabel(tr("to")));
  range->addWidget(to_);
  range->addWidget(new QLabel(tr("Split at")));
  range->addWidget(split_);
  right->addLayout(range);
  figures_ = new QTableWidget(static_cast<int>(FigureRows().size()), 3);
  figures_->setObjectName("systemFigures");
  figures_->setHorizontalHeaderLabels({tr("Whole"), tr("In-sample"), tr("Out-of-sample")});
  QStringList captions;
  for (const FigureRow& r : FigureRows()) captions << tr(r.caption);
  figures_->setVerticalHeaderLabels(captions);
  figures_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  figures_->verticalHeader()->setDefaultSectionSize(20);
  figures_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  figures_->setToolTip(tr("At 1-point level stakes; Kf is the price when picked"));
  right->addWidget(figures_, 1);
  warning_ = MakeLabel("systemWarningLabel");
  warning_->setWordWrap(true);
  warning_->setStyleSheet("color: #b00000; font-weight: bold;");
  right->addWidget(warning_);
  note_ = MakeLabel("systemNoteLabel");
  note_->setWordWrap(true);
  right->addWidget(note_);
  auto* storedRow = new QHBoxLayout;
  stored_ = MakeLabel("systemStoredLabel");
  stored_->setWordWrap(true);
  fill_ = MakeButton("fillRunnersButton", tr("Replay stored days"));
  fill_->setToolTip(tr("Replay the stored days analysed before runners were kept, once"));
  storedRow->addWidget(stored_, 1);
  storedRow->addWidget(fill_);
  right->addLayout(storedRow);
  l->addLayout(right, 1);

  refresh_ = new QTimer(this);
  refresh_->setSingleShot(true);
  refresh_->setInterval(kRefreshMs);
  connect(refresh_, &QTimer::timeout, this, [this] {
    if (!idle_) {
      wanted_ = true;  // asked again once the worker is free
      return;
    }
    emit figuresRequested(Query());
  });
  const auto changed = [this] { Changed(); };
  for (QDoubleSpinBox* b : weights_) connect(b, &QDoubleSpinBox::valueChanged, this, changed);
  for (QDoubleSpinBox* b : {priceMin_, priceMax_, selectValue_})
    connect(b, &QDoubleSpinBox::valueChanged, this, changed);
  for (QSpinBox* b : {runnersMin_, runnersMax_}) connect(b, &QSpinBox::valueChanged, this, changed);
  for (QLineEdit* e : {courses_, classes_, timeFrom_, timeTo_, from_, to_, split_})
    connect(e, &QLineEdit::textChanged, this, changed);
  connect(select_, &QComboBox::currentIndexChanged, this, changed);
  connect(saved_, &QComboBox::activated, this, [this](int index) {
    if (!report_ || index <= 0) return;
    const std::string chosen = saved_->itemData(index).toByteArray().toStdString();
    for (const SystemEntry& e : report_->systems)
      if (e.pickName == chosen) Load(e);
  });
  connect(save_, &QPushButton::clicked, this, [this] {
    const std::string name = name_->text().trimmed().toStdString();
    SystemsQuery query = Query();
    query.method = name;
    emit saveRequested(name, EditedRule(), query);
  });
  connect(rename_, &QPushButton::clicked, this, [this] {
    if (saved_->currentIndex() <= 0 || !report_) return;
    const std::string chosen = saved_->currentData().toByteArray().toStdString();
    for (const SystemEntry& e : report_->systems)
      if (e.pickName == chosen)
        emit renameRequested(e.name, name_->text().trimmed().toStdString(), Query());
  });
  connect(delete_, &QPushButton::clicked, this, [this] {
    if (saved_->currentIndex() <= 0 || !report_) return;
    const std::string chosen = saved_->currentData().toByteArray().toStdString();
    for (const SystemEntry& e : report_->systems)
      if (e.pickName == chosen) emit deleteRequested(e.name, Query());
  });
  connect(fill_, &QPushButton::clicked, this, [this] { emit fillRequested(Query()); });
}

systems::Rule SystemsPage::EditedRule() const {
  systems::Rule r = loaded_;
  for (int i = 0; i < kPartCount; ++i) r.weights[i] = weights_[i]->value();
  r.courses = Strings(SplitList(courses_->text()));
  r.classes = Strings(SplitList(classes_->text()));
  r.runnersMin = runnersMin_->value();
  r.runnersMax = runnersMax_->value();
  // A time being typed counts once it is one.
  const auto time = [](const QLineEdit* e) {
    const std::string t = e->text().trimmed().toStdString();
    int h = -1, m = -1;
    return std::sscanf(t.c_str(), "%d:%d", &h, &m) == 2 && h >= 0 && h < 24 && m >= 0 && m < 60
               ? t
               : std::string();
  };
  r.timeFrom = time(timeFrom_);
  r.timeTo = time(timeTo_);
  r.priceMin = priceMin_->value();
  r.priceMax = priceMax_->value();
  r.select = static_cast<systems::Select>(select_->currentData().toInt());
  r.selectValue = selectValue_->value();
  if (r.select == systems::Select::kTop) r.selectValue = std::max(1.0, std::round(r.selectValue));
  return r;
}

SystemsQuery SystemsPage::Query() const {
  SystemsQuery q;
  q.rule = EditedRule();
  const std::string name = name_->text().trimmed().toStdString();
  if (!name.empty()) q.method = name;
  q.from = DateOf(from_);
  q.to = DateOf(to_);
  q.split = DateOf(split_);
  return q;
}

void SystemsPage::Changed() {
  if (filling_) return;
  refresh_->start();
}

void SystemsPage::Load(const SystemEntry& system) {
  const auto parsed = systems::ParseRule(system.rule);
  if (!parsed.rule) return;
  const systems::Rule& r = *parsed.rule;
  filling_ = true;
  loaded_ = r;
  name_->setText(QString::fromStdString(system.name));
  for (int i = 0; i < kPartCount; ++i) weights_[i]->setValue(r.weights[i]);
  courses_->setText(Joined(r.courses));
  classes_->setText(Joined(r.classes));
  runnersMin_->setValue(r.runnersMin);
  runnersMax_->setValue(r.runnersMax);
  timeFrom_->setText(QString::fromStdString(r.timeFrom));
  timeTo_->setText(QString::fromStdString(r.timeTo));
  priceMin_->setValue(r.priceMin);
  priceMax_->setValue(r.priceMax);
  select_->setCurrentIndex(select_->findData(static_cast<int>(r.select)));
  selectValue_->setValue(r.selectValue);
  filling_ = false;
  Changed();
}

void SystemsPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) Changed();
}

void SystemsPage::SetIdle(bool idle) {
  idle_ = idle;
  for (QPushButton* b : {save_, rename_, delete_, fill_}) b->setEnabled(idle);
  if (idle && wanted_) {
    wanted_ = false;
    refresh_->start();
  }
}

void SystemsPage::ShowReport(const std::shared_ptr<const SystemsReport>& report) {
  if (!report || report == report_) return;
  report_ = report;
  const std::string chosen = saved_->currentData().toByteArray().toStdString();
  saved_->clear();
  saved_->addItem(tr("(new)"));
  for (const SystemEntry& e : report->systems)
    saved_->addItem(Display(e.pickName) +
                        (e.livePicks > 0 ? tr(" — %1 live picks").arg(e.livePicks) : QString()),
                    QByteArray::fromStdString(e.pickName));
  const int at = saved_->findData(QByteArray::fromStdString(
      report->query.method == "(unsaved)" ? chosen : report->query.method));
  saved_->setCurrentIndex(at < 0 ? 0 : at);
  ShowFigures(*report);
}

void SystemsPage::ShowFigures(const SystemsReport& r) {
  const auto& rows = FigureRows();
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    const auto set = [&](int col, const QString& text) {
      auto* item = new QTableWidgetItem(text);
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      figures_->setItem(row, col, item);
    };
    set(0, rows[row].text(r.test.figures));
    set(1, r.test.split ? rows[row].text(r.test.split->inSample) : QString());
    set(2, r.test.split ? rows[row].text(r.test.split->outOfSample) : QString());
  }
  warning_->setText(r.test.split ? Display(r.test.split->warning) : QString());
  note_->setText(Display(r.note));
  stored_->setText(
      tr("%1 analysed races stored").arg(r.test.races) +
      (r.daysWithoutParts > 0
           ? tr("; %1 stored days analysed before runners were kept").arg(r.daysWithoutParts)
           : QString()));
  fill_->setVisible(r.daysWithoutParts > 0);
}

}  // namespace trotix::gui
