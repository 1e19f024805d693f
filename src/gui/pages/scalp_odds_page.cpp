#include "gui/pages/scalp_odds_page.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/pages/grid_view.h"
#include "gui/pages/page_parts.h"
#include "model/columns.h"

namespace trotix::gui {

ScalpOddsPage::ScalpOddsPage(const WorkspaceView& ws, QWidget* parent) : QWidget(parent) {
  setObjectName("scalpOddsPage");
  auto* l = PageColumn(this);
  auto* bar = new QHBoxLayout;
  refresh_ = MakeButton("refreshMovesButton", tr("Обновить"));
  refresh_->setToolTip(tr("Load the market moves afresh"));
  connect(refresh_, &QPushButton::clicked, this, &ScalpOddsPage::reloadRequested);
  bar->addWidget(refresh_);
  bar->addStretch();
  l->addLayout(bar);
  lg_ = new GridView("LG", ws.LG, GridView::Select::Rows, GridView::Sort::ByHeader);
  lg_->SetFlagPictures(lg::kFlag);
  l->addWidget(lg_);
}

void ScalpOddsPage::Show(const WorkspaceView& ws) {
  lg_->SetTable(ws.LG);
}

void ScalpOddsPage::SetIdle(bool idle) {
  refresh_->setEnabled(idle);
}

}  // namespace trotix::gui
