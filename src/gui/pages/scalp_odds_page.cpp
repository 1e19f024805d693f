#include "gui/pages/scalp_odds_page.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/pages/grid_view.h"
#include "gui/pages/page_parts.h"
#include "gui/pictures.h"
#include "model/columns.h"

namespace trotix::gui {

ScalpOddsPage::ScalpOddsPage(const WorkspaceView& ws, QWidget* parent) : QWidget(parent) {
  setObjectName("scalpOddsPage");
  auto* l = PageColumn(this);
  auto* bar = new QHBoxLayout;
  // The refresh button has never had a handler; it stays for the layout.
  QPushButton* refresh = MakeButton("refreshMovesButton", "Обновить");
  refresh->setEnabled(false);
  bar->addWidget(refresh);
  bar->addStretch();
  l->addLayout(bar);
  lg_ = new GridView("LG", ws.LG, GridView::Select::Rows, GridView::Sort::ByHeader);
  lg_->SetPictures(lg::kFlag, FlagPictures());
  l->addWidget(lg_);
}

void ScalpOddsPage::Show(const WorkspaceView& ws) {
  lg_->SetTable(ws.LG);
}

}  // namespace trotix::gui
