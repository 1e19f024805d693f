#include "gui/pages/report_page.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/pages/grid_view.h"
#include "gui/pages/page_parts.h"

namespace trotix::gui {

ReportPage::ReportPage(const WorkspaceView& ws, QWidget* parent) : QWidget(parent) {
  setObjectName("reportPage");
  auto* l = new QHBoxLayout(this);
  l->setContentsMargins(6, 6, 6, 6);
  auto* left = new QFrame;
  left->setObjectName("reportPanel");
  left->setFrameShape(QFrame::StyledPanel);
  left->setFixedWidth(170);
  auto* ll = new QVBoxLayout(left);
  fromRealOdds_ = new QCheckBox("From Real Odds");
  fromRealOdds_->setObjectName("fromRealOddsBox");
  fromRealOdds_->setChecked(true);
  ll->addWidget(fromRealOdds_);
  bestRecoming_ = MakeButton("bestRecomingButton", "Best Recoming");
  bestRank_ = MakeButton("bestRankButton", "Best Rank");
  // The box counts as it stands at the click, for the whole run.
  connect(bestRecoming_, &QPushButton::clicked, this,
          [this] { emit bestRecomingRequested(fromRealOdds_->isChecked()); });
  connect(bestRank_, &QPushButton::clicked, this,
          [this] { emit bestRankRequested(fromRealOdds_->isChecked()); });
  ll->addWidget(bestRecoming_);
  ll->addWidget(bestRank_);
  runSystems_ = MakeButton("runSystemsButton", tr("Run systems"));
  runSystems_->setToolTip(
      tr("Every saved system over today's races: its picks to the report and the record"));
  connect(runSystems_, &QPushButton::clicked, this,
          [this] { emit runSystemsRequested(fromRealOdds_->isChecked()); });
  ll->addWidget(runSystems_);
  ll->addSpacing(14);
  auto* saveRow = new QHBoxLayout;
  saveRow->setSpacing(4);
  save_ = MakeButton("saveReportButton", "Save");
  connect(save_, &QPushButton::clicked, this, &ReportPage::saveRequested);
  saveRow->addWidget(save_);
  exportCsv_ = MakeButton("exportCsvButton", "Export CSV");
  save_->setToolTip("Write the report as report.html in the data folder (Ctrl+S)");
  exportCsv_->setToolTip("Write the report as report.csv in the data folder");
  connect(exportCsv_, &QPushButton::clicked, this, &ReportPage::exportCsvRequested);
  saveRow->addWidget(exportCsv_);
  ll->addLayout(saveRow);
  auto* saveAsRow = new QHBoxLayout;
  saveAsRow->setSpacing(4);
  saveAs_ = MakeButton("saveReportAsButton", "Save as…");
  saveAs_->setToolTip("Write the report as HTML where you choose");
  connect(saveAs_, &QPushButton::clicked, this, &ReportPage::saveAsRequested);
  saveAsRow->addWidget(saveAs_);
  exportCsvAs_ = MakeButton("exportCsvAsButton", "CSV as…");
  exportCsvAs_->setToolTip("Write the report as CSV where you choose");
  connect(exportCsvAs_, &QPushButton::clicked, this, &ReportPage::exportCsvAsRequested);
  saveAsRow->addWidget(exportCsvAs_);
  ll->addLayout(saveAsRow);
  clear_ = MakeButton("clearReportButton", "Clear");
  clear_->setToolTip("Empty the report; the ledger keeps its picks");
  connect(clear_, &QPushButton::clicked, this, &ReportPage::clearRequested);
  ll->addWidget(clear_);
  settle_ = MakeButton("settleButton", "Settle");
  settle_->setToolTip("Fetch the results of every day with open picks and settle them");
  connect(settle_, &QPushButton::clicked, this, &ReportPage::settleRequested);
  ll->addWidget(settle_);
  auto* nextGrid = new QTableView;  // the second grid of the page has no columns
  nextGrid->setObjectName("emptyReportGrid");
  nextGrid->verticalHeader()->hide();
  ll->addWidget(nextGrid, 1);
  runArea_ = nextGrid;
  l->addWidget(left);

  rep_ = new GridView("REP", ws.REP, GridView::Select::Rows, GridView::Sort::ByHeader);
  l->addWidget(rep_, 1);
  connect(rep_, &QTableView::clicked, this,
          [this](const QModelIndex& i) { emit rowSelected(rep_->SourceRow(i)); });
  menu_ = new QMenu(this);
  menu_->setObjectName("reportMenu");
  deleteRow_ = menu_->addAction("Удалить");
  deleteRow_->setObjectName("deleteReportRowAction");
  connect(deleteRow_, &QAction::triggered, this, [this] { emit deleteRowRequested(ChosenRow()); });
  // The Delete key on the grid does the same; a disabled action takes no key.
  deleteRow_->setShortcut(QKeySequence::Delete);
  deleteRow_->setShortcutContext(Qt::WidgetShortcut);
  rep_->addAction(deleteRow_);
  rep_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(rep_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    // The menu acts on the row it was opened on.
    if (const QModelIndex i = rep_->indexAt(at); i.isValid()) rep_->setCurrentIndex(i);
    menu_->popup(rep_->viewport()->mapToGlobal(at));
  });
}

int ReportPage::ChosenRow() const {
  const auto rows = rep_->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rep_->SourceRow(rows.first());
}

void ReportPage::Show(const WorkspaceView& ws) {
  rep_->SetTable(ws.REP);
}

void ReportPage::SetIdle(bool idle) {
  for (QPushButton* b : {bestRecoming_, bestRank_, runSystems_, save_, exportCsv_, saveAs_,
                         exportCsvAs_, clear_, settle_})
    b->setEnabled(idle);
  deleteRow_->setEnabled(idle);
}

bool ReportPage::FromRealOdds() const {
  return fromRealOdds_->isChecked();
}

void ReportPage::SetFromRealOdds(bool on) {
  fromRealOdds_->setChecked(on);
}

}  // namespace trotix::gui
