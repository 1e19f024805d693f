#include "gui/pages/all_table_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>
#include <utility>

#include "gui/display_text.h"
#include "gui/pages/grid_view.h"
#include "gui/pages/page_parts.h"
#include "gui/pictures.h"
#include "gui/summa_chart.h"
#include "model/columns.h"

namespace trotix::gui {

AllTablePage::AllTablePage(const WorkspaceView& ws, QWidget* parent) : QWidget(parent) {
  setObjectName("allTablePage");
  auto* l = PageColumn(this);
  auto* split = split_ = new QSplitter(Qt::Vertical);
  split->setObjectName("allTableSplitter");
  connect(split, &QSplitter::splitterMoved, this, [this] { splitMoved_ = true; });
  split->setChildrenCollapsible(false);
  l->addWidget(split);
  auto* upper = new QWidget;
  auto* top = new QHBoxLayout(upper);
  top->setContentsMargins(0, 0, 0, 0);
  mm_ = new GridView("MM", ws.MM, GridView::Select::Rows);
  mm_->SetFlagPictures(mm::kFlag);
  mm_->SetWidthFollowsColumns(186);  // every course name whole, no sideways scrolling
  top->addWidget(mm_);
  // Races and runners are rows; the column of the click does not matter.
  connect(mm_, &QTableView::doubleClicked, this,
          [this](const QModelIndex& i) { emit raceActivated(i.row()); });

  auto* right = new QVBoxLayout;
  auto* head = new QGridLayout;
  head->setHorizontalSpacing(12);
  head->setVerticalSpacing(0);
  u1_ = MakeLabel("u1", "00:00");
  u1_->setFont(Larger(u1_->font(), 8));
  head->addWidget(u1_, 0, 0, 3, 1);
  // Each label keeps to its own cell: a long one ends in "…" (its tooltip is whole), never over
  // its neighbour and never at the grids' cost.
  head->addWidget(u2_ = MakeElidedLabel("u2", "Course:"), 0, 1);
  head->addWidget(u3_ = MakeElidedLabel("u3", "Prize: $"), 0, 2);
  head->addWidget(u8_ = MakeElidedLabel("u8", "Summ Betfair:"), 0, 3);
  head->addWidget(u4_ = MakeElidedLabel("u4", "Name:"), 1, 1, 1, 2);
  exchangePrices_ = MakeElidedLabel("exchangePrices");
  exchangePrices_->setToolTip("Where the exchange figures of this analysis came from");
  head->addWidget(exchangePrices_, 1, 3);
  head->addWidget(u5_ = MakeElidedLabel("u5", "Count:"), 2, 1);
  head->addWidget(u6_ = MakeElidedLabel("u6", "Distance:"), 2, 2);
  head->addWidget(u7_ = MakeElidedLabel("u7", "Type:"), 2, 3);
  bfnumber_ = MakeLabel("bfnumber");
  head->addWidget(bfnumber_, 0, 4);
  bfnumber_->hide();
  head->setColumnStretch(3, 1);
  tv_ = MakeButton("tvButton", QString());
  tv_->setIcon(TvIcon());
  tv_->setToolTip("TV Translation");
  tv_->setFixedSize(30, 26);
  exchange_ = MakeButton("exchangeButton", QString());
  exchange_->setIcon(ExchangeIcon());
  exchange_->setToolTip("Go to Betfair");
  exchange_->setFixedSize(30, 26);
  connect(tv_, &QPushButton::clicked, this, &AllTablePage::videoRequested);
  connect(exchange_, &QPushButton::clicked, this, &AllTablePage::marketRequested);
  head->addWidget(tv_, 0, 5, 2, 1, Qt::AlignTop);
  head->addWidget(exchange_, 0, 6, 2, 1, Qt::AlignTop);
  right->addLayout(head);

  tab_ = new GridView("TAB", ws.TAB, GridView::Select::Cells);
  // The widest grid of the window: a size smaller, so every shown column fits beside MM.
  tab_->setFont(Larger(tab_->font(), -1, false));
  tab_->horizontalHeader()->setFont(tab_->font());
  tab_->setIconSize(QSize(16, 16));
  tab_->SetPictures(tab::kTrainer, PersonPictures());
  tab_->SetPictures(tab::kJockey, PersonPictures());
  tab_->SetPictures(tab::kTips, PlacePictures());
  tab_->SetPictures(tab::kPro, PersonPictures());
  right->addWidget(tab_, 1);
  connect(tab_, &QTableView::doubleClicked, this,
          [this](const QModelIndex& i) { emit runnerActivated(i.row()); });
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
  r_ = new GridView("R", ws.R, GridView::Select::Cells, GridView::Sort::ByHeader);
  summa->addTab(r_, "Summa");
  connect(r_, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
    // Summa may be sorted by the view; its runner is found in TAB by name.
    const int t = runners_.indexOf(i.siblingAtColumn(r::kName).data(Qt::UserRole).toString());
    if (t >= 0) emit runnerActivated(t);
  });
  chart_ = new SummaChart;
  summa->addTab(chart_, "Chart");
  bottom->addWidget(summa, 1);
  auto* recoming = new QGroupBox("Recoming");
  recoming->setObjectName("recomingBox");
  auto* rl = new QVBoxLayout(recoming);
  rl->setContentsMargins(4, 4, 4, 4);
  rr_ = new GridView("RR", ws.RR, GridView::Select::Cells);
  rl->addWidget(rr_);
  recoming->setFixedWidth(190);
  bottom->addWidget(recoming);
  split->addWidget(lower);
}

void AllTablePage::Show(const WorkspaceView& ws) {
  mm_->SetTable(ws.MM);
  tab_->SetTable(ws.TAB);
  r_->SetTable(ws.R);
  rr_->SetTable(ws.RR);
  const std::pair<QLabel*, const std::string&> header[] = {{u1_, ws.u1}, {u2_, ws.u2}, {u3_, ws.u3},
                                                           {u4_, ws.u4}, {u5_, ws.u5}, {u6_, ws.u6},
                                                           {u7_, ws.u7}, {u8_, ws.u8}};
  // A header cut short by the layout can still be read whole.
  for (const auto& [label, text] : header) {
    label->setText(Display(text));
    label->setToolTip(label->text());
  }
  bfnumber_->setText(Display(ws.bfnumber));
  runners_.clear();
  for (int t = 0; t < ws.TAB.RowCount(); ++t) runners_ << Display(ws.TAB.Text(t, tab::kName));
  if (!(chart_->shownTable() == ws.R)) chart_->SetTable(ws.R);
}

void AllTablePage::ShowView(const ViewState& view) {
  tvEnabled_ = view.tvbuttonEnabled;
  exchangeEnabled_ = view.bfbuttonEnabled;
  UpdateButtons();
  mm_->SelectSourceRow(view.raceOnScreen);
  exchangePrices_->setText(Display(view.exchangePrices));
}

void AllTablePage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (splitMoved_) return;
  // At the smallest window the runners get 42 % of the height, as they always had; room beyond
  // that goes three parts in four to them, so a taller window shows a whole field in TAB rather
  // than empty rows under Summa.
  constexpr int kSmallest = 550;  // the splitter's height in the smallest window
  const int total = split_->height() - split_->handleWidth();
  const int upper =
      total <= kSmallest ? total * 42 / 100 : kSmallest * 42 / 100 + (total - kSmallest) * 3 / 4;
  split_->setSizes({upper, total - upper});
}

void AllTablePage::SetIdle(bool idle) {
  idle_ = idle;
  UpdateButtons();
}

void AllTablePage::UpdateButtons() {
  tv_->setEnabled(idle_ && tvEnabled_);
  exchange_->setEnabled(idle_ && exchangeEnabled_);
}

}  // namespace trotix::gui
