#include "gui/pages/indicator_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/display_text.h"
#include "gui/pages/grid_view.h"
#include "gui/pages/page_parts.h"
#include "model/columns.h"

namespace trotix::gui {

IndicatorPage::IndicatorPage(const WorkspaceView& ws, QWidget* parent) : QWidget(parent) {
  setObjectName("indicatorPage");
  auto* l = new QHBoxLayout(this);
  l->setContentsMargins(6, 6, 6, 6);
  t1_ = new GridView("T1", ws.T1, GridView::Select::Rows);
  t1_->SetFlagPictures(t1::kFlag);
  t1_->setFixedWidth(210);
  l->addWidget(t1_);
  auto* right = new QVBoxLayout;
  auto* labels = new QHBoxLayout;
  time_ = MakeLabel("spSkinLabel3");
  course_ = MakeLabel("spSkinLabel4");
  ind1_ = MakeLabel("ind1", "0");
  ind2_ = MakeLabel("ind2", "0");
  ind1_->hide();
  ind2_->hide();
  for (QLabel* label : {time_, course_, ind1_, ind2_}) labels->addWidget(label);
  labels->addStretch();
  right->addLayout(labels);
  t2_ = new GridView("T2", ws.T2, GridView::Select::Rows);
  right->addWidget(t2_);
  l->addLayout(right);
}

void IndicatorPage::Show(const WorkspaceView& ws) {
  t1_->SetTable(ws.T1);
  t2_->SetTable(ws.T2);
  time_->setText(Display(ws.spSkinLabel3));
  course_->setText(Display(ws.spSkinLabel4));
  ind1_->setText(Display(ws.ind1));
  ind2_->setText(Display(ws.ind2));
}

}  // namespace trotix::gui
