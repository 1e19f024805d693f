#include "gui/pages/zorvat_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/display_text.h"
#include "gui/pages/grid_view.h"
#include "gui/pages/page_parts.h"
#include "model/columns.h"

namespace trotix::gui {

ZorvatPage::ZorvatPage(const WorkspaceView& ws, QWidget* parent) : QWidget(parent) {
  setObjectName("zorvatPage");
  auto* l = new QHBoxLayout(this);
  l->setContentsMargins(6, 6, 6, 6);
  nx_ = new GridView("NX", ws.NX, GridView::Select::Rows);
  nx_->SetFlagPictures(nx::kFlag);
  nx_->setFixedWidth(200);
  l->addWidget(nx_);
  // The race is the row; the column of the click does not matter.
  connect(nx_, &QTableView::doubleClicked, this,
          [this](const QModelIndex& i) { emit raceActivated(i.row()); });

  auto* right = new QVBoxLayout;
  auto* labels = new QHBoxLayout;
  e1_ = MakeLabel("e1");
  e2_ = MakeLabel("e2");
  e3_ = MakeLabel("e3");
  // Time and course before the race's name.
  for (QLabel* label : {e2_, e3_, e1_}) {
    label->setFont(Larger(label->font(), 1));
    labels->addWidget(label);
  }
  labels->addStretch();
  right->addLayout(labels);
  rf_ = new GridView("RF", ws.RF, GridView::Select::Cells);
  rf_->setFixedHeight(46);
  rf_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  rf_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  rf_->setFixedWidth(280);
  auto* rfRow = new QHBoxLayout;
  rfRow->addWidget(rf_);
  rfRow->addStretch();
  right->addLayout(rfRow);
  h_ = new GridView("H", ws.H, GridView::Select::Cells);
  right->addWidget(h_);
  l->addLayout(right);
}

void ZorvatPage::Show(const WorkspaceView& ws) {
  nx_->SetTable(ws.NX);
  rf_->SetTable(ws.RF);
  h_->SetTable(ws.H);
  e1_->setText(Display(ws.e1));
  e2_->setText(Display(ws.e2));
  e3_->setText(Display(ws.e3));
}

}  // namespace trotix::gui
